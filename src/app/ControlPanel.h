#pragma once

#include <QObject>

class ConvergencePlot;
class ConvergenceSeries;
class GLBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSlider;
class QSpinBox;
class QVBoxLayout;
class QWidget;
class Scene;

// The control panel's group boxes and what they show: "Control" (scheme,
// closed switch, u, precision, level, delete), "View" (curve points, depth
// colour, axes, grid), the "Convex Volume/Area" read-out and "Study"
// (reset view, compared schemes, passes, limit, comb, the convergence
// read-out and plot). Every widget calls a slot of the view; the panel
// reads the values it shows from the view's scene, never from the view's
// widgets or members. The widgets are children of the panel widget; the
// panel's own QObject belongs to the window.
class ControlPanel : public QObject
{
    Q_OBJECT

public:
    // Builds the Control and View boxes into stack (the layout of panel),
    // wired to view; addReadouts() adds the others.
    ControlPanel(GLBox *view, QWidget *panel, QVBoxLayout *stack, QObject *parent);
    // Adds the Convex Volume/Area and Study boxes below the others.
    void addReadouts();

    // Loads the selected scheme's settings into the widgets: closed
    // switch, u (x 100, rounded), curve points, and precision (x 10,
    // truncated), level and depth colour where the scheme uses them (the
    // others are disabled and keep their values). Nothing without a scheme.
    void loadSchemeSettings();
    // Shows the scene's values in every widget without their signals, and
    // the start-up read-out until the next update reports the areas (after
    // a document was put into the view).
    void showApplied();
    // The three area labels, two decimals each: polygon, difference and
    // their difference.
    void showAreas(double polygonArea, double deltaArea);
    // The closed switch as the polygon is now, without its signal.
    void showClosed();
    // The view's words about the selected curve (GLBox::curveNotes): hint
    // below the areas, reached beside the level box and in the
    // convergence read-out.
    void showNotes(const QString &hint, const QString &reached);

    // Widgets that the window and the read-outs write; owned by their boxes.
    QComboBox *curveComboBox = nullptr;
    QCheckBox *openCloseCurveCheckBox = nullptr;
    QSlider *uparameter = nullptr;
    QSlider *precision = nullptr;
    QSpinBox *level = nullptr;
    QLabel *levelReachedLabel = nullptr; // "reached 19: point budget" beside the level
    QCheckBox *drawCurvePointsCheckBox = nullptr;
    QCheckBox *depthColourCheckBox = nullptr;
    QCheckBox *axisCheckBox = nullptr;
    QSlider *gridSlider = nullptr;
    QLabel *polygonAreaLabel = nullptr; // "Control Points = ..."
    QLabel *deltaAreaLabel = nullptr;   // "Delta = ..."
    QLabel *finalAreaLabel = nullptr;   // "Final = ..."
    QLabel *curveHintLabel = nullptr;   // why nothing is drawn, or that u diverges
    QCheckBox *showPassesCheckBox = nullptr; // only the refining schemes have passes
    QLabel *distanceLabel = nullptr;         // "Distance to limit = ..."
    ConvergencePlot *convergencePlot = nullptr;

private:
    QGroupBox *buildControlBox();
    QGroupBox *buildViewBox();
    QGroupBox *buildAreaBox();
    QGroupBox *buildStudyBox();
    void showConvergence(const ConvergenceSeries &series, int scheme, bool current);

    GLBox *view;
    Scene &scene;
    QWidget *panel;
    QVBoxLayout *stack;
    QString reachedWords; // the last reached words, for the convergence read-out
};
