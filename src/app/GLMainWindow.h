#pragma once

// GLMainWindow is the program's single top-level window. Through Qt's
// parent-child tree it owns the view (GLBox) on the left and the control
// panel on the right: the "Control" box (scheme, closed switch, u,
// precision, level, delete), the "View" box (curve points, depth colour,
// axes, grid), the "Convex Volume/Area" read-out and the "Study" box
// ("Reset View" for the view's zoom and pan, compared schemes, passes,
// limit, curvature comb, and the distance to the limit with its
// ConvergencePlot). Every panel widget
// calls a GLBox slot directly; the view stores the value in itself, in its
// ControlPoints or in the selected Curve, marks the polygon dirty when the
// curve's shape depends on it, and asks for a repaint. No handler
// subdivides: the repaint renders the selected curve, which re-subdivides
// only while the polygon is dirty, and reports the polygon's area and the
// curve's area difference (GLBox::setArea -> setArea here), which fill the
// read-out. Selecting a scheme makes the view emit setWidgetValues, and
// getWidgetValues loads that scheme's own settings back into the widgets,
// whose change signals run the view's slots once more. The view zooms and
// pans by itself (wheel, and keys while it has the focus). While Show
// Limit is on, the view measures the selected curve's convergence after
// its changes and sends the series (GLBox::setConvergence) to the read-out
// and the plot. The File menu's
// export runs GLBox::exportPS. The view posts every message to this
// window's status bar. Each slider has a SliderValueLabel beside it that
// shows the value as the view applies it, and PanelHelp.cpp holds every
// control's tooltip and What's This text.

#include <QMainWindow>

class GLBox;
class ConvergencePlot;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QSlider;
class QSpinBox;
class QVBoxLayout;

class GLMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Builds menus, the central frame with view and panel column, the
    // status bar and the panel, and wires the panel to the view. parent
    // and name are both optional.
    explicit GLMainWindow(QWidget *parent = nullptr, const char *name = nullptr);
    ~GLMainWindow() override;

public slots:
    // Loads the selected scheme's settings into the panel widgets: closed
    // switch, u (x 100, rounded), curve points, and precision (x 10,
    // truncated), level and depth colour where the scheme uses them (the
    // others are disabled and keep their values). With no scheme selected
    // nothing changes.
    void getWidgetValues();
    // The modal "Usage" box listing the mouse gestures.
    void showUsage();
    // The modal "About Ornelle" box.
    void showAbout();
    // Shows the control polygon's area, the curve's area difference and
    // their difference in the three read-out labels, two decimals each.
    void setArea(double polygonArea, double deltaArea);

private:
    // Adds the File menu's entries; they come after the view exists.
    void fillFileMenu(QMenu *fileMenu);
    void buildHelpMenu();
    // The panel's group boxes, each built with its widgets and connections
    // for the constructor to add to the panel column.
    QGroupBox *buildControlBox(QWidget *frame);
    QGroupBox *buildViewBox(QWidget *frame);
    QGroupBox *buildAreaBox(QWidget *frame);
    // The "Study" box below the others: "Reset View" and the tools for
    // looking closer at the curves (GLMainWindowStudy.cpp).
    QGroupBox *buildStudyBox(QWidget *frame);

    GLBox *glbox = nullptr; // the curve view, object name "glbox"
    // Panel widgets that getWidgetValues and setArea write; all owned by
    // their group boxes.
    QCheckBox *openCloseCurveCheckBox = nullptr;
    QSlider *uparameter = nullptr;
    QSlider *precision = nullptr;
    QCheckBox *drawCurvePointsCheckBox = nullptr;
    QCheckBox *depthColourCheckBox = nullptr;
    QSpinBox *level = nullptr;
    QLabel *polygonAreaLabel = nullptr; // "Control Points = ..."
    QLabel *deltaAreaLabel = nullptr;   // "Delta = ..."
    QLabel *finalAreaLabel = nullptr;   // "Final = ..."
    QCheckBox *showPassesCheckBox = nullptr; // only the refining schemes have passes
    QLabel *distanceLabel = nullptr;         // "Distance to limit = ..."
    ConvergencePlot *convergencePlot = nullptr;

};
