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
//
// Files (GLMainWindowFile.cpp): the File menu's New, Open, Save and Save As
// move a Document between DocumentFile and the view (GLBox::snapshot,
// GLBox::apply); after an apply the window shows the loaded values in the
// panel with the widgets' signals blocked, so that they reach no slot. The
// view's documentEdited signal (a setting changed) sets the window's
// modified marker, which the title shows beside the file name; saving or
// opening clears it.
//
// Undo (GLMainWindowEdit.cpp): each edit of the polygon reaches the window
// as GLBox::polygonEdited, which pushes a PolygonEdit onto the window's
// QUndoStack; the Edit menu's Undo and Redo run the stack, whose commands
// hand their snapshots back to GLBox::restorePolygon. The window is
// modified while the stack is away from its clean index (set by saving,
// reset by New and Open) or a setting changed since the last save.
//
// Figures (GLMainWindowExport.cpp): File > Export... asks for a file, its
// type (EPS, PDF, SVG or PNG) and the export options in one dialog, adds
// the type's suffix, remembers the folder and the type (QSettings) and
// hands the rest to GLBox::exportFile.

#include "view/ExportOptions.h"

#include <QMainWindow>

#include <functional>

class Autosave;
class Document;
class GLBox;
class ConvergencePlot;
class QCheckBox;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QAction;
class QMenu;
class QSlider;
class QSpinBox;
class QUndoStack;
class QVBoxLayout;
class PanelScrollArea;

class GLMainWindow : public QMainWindow
{
    Q_OBJECT

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
    // This window's autosave (its recovery file and timer).
    const Autosave &autosaveFile() const { return *autosave; }
    // The file being edited; empty while untitled.
    QString currentFile() const { return fileName; }

    // Ask for the file to open and the file to save to; an empty name
    // cancels. By default the toolkit's modal file dialogs for "*.ornelle"
    // files (saving adds the suffix to a name without one and asks before
    // replacing a file); replaceable, for instance to run without dialogs.
    std::function<QString()> chooseOpenFile;
    std::function<QString()> chooseSaveFile;
    // Asks for the figure to export: path comes in as the proposed file
    // (the remembered folder, a name from the scheme and level, the
    // remembered type's suffix) and options as last chosen, with format
    // the remembered type; both go out as chosen. False cancels. By
    // default the toolkit's save dialog with the four file types and the
    // options below them, which asks nothing about replacing a file
    // (the export asks).
    std::function<bool(QString &path, ExportOptions &options)> chooseExport;

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
    // Answers the view's questions (the PostScript file, replacing a file)
    // with the toolkit's dialogs.
    void askForTheView();
    // Adds the File menu's entries; they come after the view exists.
    void fillFileMenu(QMenu *fileMenu);
    // Adds the View menu's Full Screen, Show Panel and Presentation
    // Widths (GLMainWindowScreen.cpp).
    void fillViewMenu(QMenu *viewMenu);
    // The menu and status bars show except in full screen without the
    // panel.
    void showChrome();
    // Creates the undo history and adds the Edit menu's Undo and Redo,
    // wired to the view's edits.
    void fillEditMenu(QMenu *editMenu);
    // The title's modified marker from the history and settingsEdited;
    // the autosave follows it.
    void showModified();
    // Runs an export of the view; true when it did not fail. A failure the
    // view reports is shown in a warning box as well.
    bool runExport(const std::function<void()> &exportView);
    // The remembered export folder when it is a folder a file can be
    // written to, else fallback.
    static QString usableFolder(const QString &folder, const QString &fallback);
    // Redo (forward) or undo one step, after committing a drag under way;
    // the status bar names the step.
    void moveInHistory(bool forward);
    // The entries New, Open..., Save and Save As... at the top of it.
    void addDocumentEntries(QMenu *fileMenu);
    // The entry Export... and its default chooser.
    void addExportEntry(QMenu *fileMenu);
    // With unsaved changes, the modal Save / Discard / Cancel question;
    // true when the caller may go on (saved or discarded, or nothing to
    // lose), false on Cancel or a failed save.
    bool confirmDiscard();
    // Writes the view's document to path; reports a failure in a box.
    bool saveTo(const QString &path);
    // Puts document into the view and the panel under the name path
    // (empty: untitled), unmodified.
    void showDocument(const Document &document, const QString &path);
    // Shows the view's values in every panel widget without their signals,
    // and the start-up read-out until the next paint reports the areas.
    void showAppliedSettings();
    // path becomes the current file (empty: "Untitled") with the title
    // set, the history's clean state here and the modified marker cleared.
    void setCurrentFile(const QString &path);
    // The file's name as messages and the title show it.
    QString shownName() const;
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
    PanelScrollArea *panelScroll = nullptr; // the scrolling panel column, "panelScrollArea"
    QAction *fullScreenAction = nullptr;    // View > Full Screen, "fullScreenAction"
    QAction *showPanelAction = nullptr;     // View > Show Panel, "showPanelAction"
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

    QUndoStack *history = nullptr; // the polygon's undo steps, object name "history"
    Autosave *autosave = nullptr;  // the recovery file of this window's work
    QAction *undoAction = nullptr; // "Undo <step>", object name "undoAction"
    QAction *redoAction = nullptr; // "Redo <step>", object name "redoAction"
    bool settingsEdited = false;   // a setting changed since the last save, New or Open

    QString fileName;   // current file; empty while untitled
    QString lastFolder; // where the file dialogs start
    ExportOptions exportOptions; // as last chosen in this session

};
