#pragma once

// GLMainWindow is the program's single top-level window. It owns, through
// Qt's parent-child tree, the view (GLBox) on the left and the control panel
// column on the right. The panel's widgets call the view's slots; the view
// applies each setting to itself, to its ControlPoints or to the selected
// curve, and asks for a repaint. Curves are never subdivided by a handler:
// the repaint renders the selected curve lazily and reports the areas back
// to the window, which formats them in the panel. When the view selects a
// scheme it asks the window (getWidgetValues) to load that scheme's own
// settings back into the panel. The view posts every message to this
// window's status bar.

#include <QMainWindow>

class GLBox;
class QMenu;
class QVBoxLayout;

class GLMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Builds menus, the central frame with view and panel column, and the
    // status bar. parent and name are both optional.
    explicit GLMainWindow(QWidget *parent = nullptr, const char *name = nullptr);
    ~GLMainWindow() override;

public slots:
    // Loads the selected scheme's settings into the panel widgets; with no
    // scheme selected there is nothing to load.
    void getWidgetValues();
    // The modal "Usage" box listing the mouse gestures.
    void showUsage();
    // The modal "About Ornelle" box.
    void showAbout();

private:
    // Adds the File menu's entries; they come after the view exists.
    void fillFileMenu();
    void buildHelpMenu();

    GLBox *glbox = nullptr;             // the curve view, object name "glbox"
    QMenu *fileMenu = nullptr;          // "&File" popup
    QVBoxLayout *panelColumn = nullptr; // right-hand column for the control panel
};
