#pragma once

// GLMainWindow is the program's single top-level window, a shell over four
// parts. The view (GLBox) on the left holds the Scene (polygon, curves,
// settings, study) and draws it; every panel widget calls one of its slots,
// which changes the scene, and the view brings the scene up to date before
// its next frame (Scene::update, outside any paint) and reports the areas
// (GLBox::setArea -> setArea here), the convergence series and its
// messages (GLBox::message -> the status bar). The ControlPanel on the
// right builds the "Control", "View", "Convex Volume/Area" and "Study"
// boxes and shows what the scene holds, and the LaboratoryPanel below
// them the "Scheme Laboratory" (the custom mask, open ends, influence,
// playing the levels, the analysis), which changes the scene through
// GLBox::changeScene and follows the view's reports; selecting a scheme makes the view
// emit setWidgetValues, and getWidgetValues has the panel load that
// scheme's own settings, whose widgets' signals run the view's slots once
// more. The DocumentSession keeps the file, its modified marker, the undo
// history (the view's polygonEdited pushes a PolygonEdit; undo hands the
// snapshot back to GLBox::restorePolygon) and the autosave, and runs New,
// Open, Save, Save As, Undo, Redo and the recovery at start-up. The
// ExportController runs File > Export to PostScript (GLBox::exportPS) and
// File > Export... (GLBox::exportFile) and answers the view's questions
// with dialogs, and copies the figure. PointsTransfer takes points in
// (File > Import Points..., Edit > Paste Points: one undo step through the
// session) and the curve's points out (File > Export...'s CSV and JSON,
// Edit > Copy Curve Points). The session's RecentFiles and ExampleFiles
// fill File > Open Recent and File > Examples. The View menu
// (GLMainWindowScreen.cpp) switches full screen, the panel and the view's
// presentation widths.

#include "view/ExportOptions.h"

#include <QMainWindow>

#include <functional>

class Autosave;
class ControlPanel;
class LaboratoryPanel;
class DocumentSession;
class ExportController;
class GLBox;
class KeysAndGestures;
class PointsTransfer;
class QAction;
class QCheckBox;
class QCloseEvent;
class QLabel;
class QMenu;
class QSlider;
class QSpinBox;
class PanelScrollArea;

class GLMainWindow : public QMainWindow
{
    Q_OBJECT

    // The parts come first: the public choosers below refer into them.
    DocumentSession *session;
    ExportController *exports = nullptr;
    PointsTransfer *points = nullptr;

public:
    // Builds menus, the central frame with view and panel column, the
    // status bar and the panel, and wires the panel to the view. parent
    // and name are both optional.
    explicit GLMainWindow(QWidget *parent = nullptr, const char *name = nullptr);
    ~GLMainWindow() override;

    // Sizes and places the window for the screen it is on before it is
    // first shown: as tall as the screen's available height (less an
    // allowance for a window manager's frame), the view as large as that
    // leaves, the panel beside it, never larger than the available
    // geometry. On a screen too small for the view's minimum of 600 x 600
    // (a high scale factor), the minimum shrinks to what fits.
    void fitToScreen();

    // Reads the polygon file at path and, when it is sound, shows it: the
    // polygon, every scheme's settings, the selected scheme and the view
    // settings, in the view and in the panel; path becomes the window's
    // file, unmodified. A file that cannot be read or is not sound changes
    // nothing and is reported in a modal warning box. Asks nothing about
    // unsaved changes (open() does). Returns whether the file was shown.
    bool openFile(const QString &path);
    // At start-up: when an instance that ended without a clean exit left
    // unsaved work in folder (Autosave, RecoveryFile), asks whether to
    // recover it ("Recover", the default, or "Discard"). Recovered work is
    // shown unsaved under its own file name, if it had one. A damaged
    // recovery file is set aside and told in the status bar and on
    // standard error, without a question. Returns whether work was
    // recovered.
    bool offerRecovery(const QString &folder);
    // At start-up, after the recovery question and the file named on the
    // command line: at the program's very first start (its settings
    // remember none before) and with the window still empty and untitled,
    // opens the welcome example untitled (ExampleFiles::welcome), so that
    // a new user sees a curve at once. Remembers the start either way;
    // returns whether the example was opened.
    bool openFirstStartExample();
    // This window's autosave (its recovery file and timer).
    const Autosave &autosaveFile() const;
    // The file being edited; empty while untitled.
    QString currentFile() const;

    // Ask for the file to open and the file to save to; an empty name
    // cancels. By default the toolkit's modal file dialogs for "*.ornelle"
    // files (saving adds the suffix to a name without one and asks before
    // replacing a file); replaceable, for instance to run without dialogs.
    std::function<QString()> &chooseOpenFile;
    std::function<QString()> &chooseSaveFile;
    // Asks for the figure to export: path comes in as the proposed file
    // (the remembered folder, a name from the scheme and level, the
    // remembered type's suffix) and options as last chosen, with format
    // the remembered type; both go out as chosen. False cancels. By
    // default the toolkit's save dialog with the four file types and the
    // options below them, which asks nothing about replacing a file (the
    // export asks).
    std::function<bool(QString &path, ExportOptions &options)> &chooseExport;

public slots:
    // File > New: after the unsaved-changes question, the start-up state
    // under the name "Untitled".
    void newFile();
    // File > Open...: after the unsaved-changes question, chooseOpenFile
    // and openFile.
    void open();
    // File > Save: writes the current file, or asks for one as saveAs()
    // when untitled. True when written; failures are reported in a box.
    bool save();
    // File > Save As...: writes to the file chooseSaveFile names, which
    // becomes the current file. True when written.
    bool saveAs();
    // File > Export...: chooseExport, then the chosen name with its type's
    // suffix added when it has none of the four, and GLBox::exportFile. A
    // failure is also told in a warning box; the folder and the type are
    // remembered only after a figure was written.
    void exportFigure();
    // File > Export to PostScript: GLBox::exportPS, with a failure also
    // told in a warning box.
    void exportPostScript();

    // Edit > Undo and Redo: a drag under way is committed first
    // (GLBox::commitDrag), then the history takes back or reapplies one
    // step and the status bar names it.
    void undo();
    void redo();

    // Loads the selected scheme's settings into the panel widgets: closed
    // switch, u (x 100, rounded), curve points, and precision (x 10,
    // truncated), level and depth colour where the scheme uses them (the
    // others are disabled and keep their values). With no scheme selected
    // nothing changes.
    void getWidgetValues();
    // View > Full Screen (F11, Esc leaves): the window fills the screen;
    // with the panel hidden as well the menu and status bars go too, and
    // the view has the screen's whole height (a lecture's picture).
    void setFullScreen(bool on);
    // View > Show Panel (Ctrl+M): shows or hides the panel column.
    void setPanelShown(bool on);

    // The modal "Usage" box listing the mouse gestures.
    void showUsage();
    // Help > Keys and Gestures (F1): every gesture, key and shortcut in one
    // table, in a window that can stay open beside this one.
    void showKeysAndGestures();
    // The modal "About Ornelle" box.
    void showAbout();
    // Shows the control polygon's area, the curve's area difference and
    // their difference in the three read-out labels, two decimals each.
    void setArea(double polygonArea, double deltaArea);

protected:
    // Closing the window (also through Exit, whose quit closes it) asks
    // about unsaved changes first; Cancel keeps the window open.
    void closeEvent(QCloseEvent *event) override;

private:
    // Adds the View menu's Full Screen, Show Panel and Presentation
    // Widths (GLMainWindowScreen.cpp).
    void fillViewMenu(QMenu *viewMenu);
    // The menu and status bars show except in full screen without the
    // panel.
    void showChrome();
    void buildHelpMenu();

    GLBox *glbox = nullptr;                 // the curve view, object name "glbox"
    ControlPanel *panel = nullptr;          // the panel's boxes and what they show
    LaboratoryPanel *laboratory = nullptr;  // the Scheme Laboratory box below them
    PanelScrollArea *panelScroll = nullptr; // the scrolling panel column, "panelScrollArea"
    QAction *fullScreenAction = nullptr;    // View > Full Screen, "fullScreenAction"
    QAction *showPanelAction = nullptr;     // View > Show Panel, "showPanelAction"
    KeysAndGestures *keysAndGestures = nullptr; // made when first asked for
    // The panel widgets that getWidgetValues and setArea write (the
    // panel's, owned by their group boxes).
    QCheckBox *openCloseCurveCheckBox = nullptr;
    QSlider *uparameter = nullptr;
    QSlider *precision = nullptr;
    QCheckBox *drawCurvePointsCheckBox = nullptr;
    QCheckBox *depthColourCheckBox = nullptr;
    QSpinBox *level = nullptr;
    QLabel *polygonAreaLabel = nullptr; // "Control Points = ..."
    QLabel *deltaAreaLabel = nullptr;   // "Delta = ..."
    QLabel *finalAreaLabel = nullptr;   // "Final = ..."
};
