#pragma once

#include "model/PolygonSnapshot.h"

#include <QObject>
#include <QString>

#include <functional>

class Autosave;
class ControlPanel;
class Document;
class GLBox;
class QAction;
class QMainWindow;
class QMenu;
class QUndoStack;
class RecentFiles;

// The document a window edits: its file name, whether it holds unsaved
// work, the polygon's undo history (a QUndoStack of PolygonEdit steps,
// which the view's polygonEdited feeds) and its autosave. The File menu's
// New, Open, Open Recent (RecentFiles), Examples (ExampleFiles), Save and
// Save As, the Edit menu's Undo and Redo and the recovery at start-up run
// here; the questions go to the window's modal
// boxes and file dialogs (replaceable: chooseOpenFile, chooseSaveFile),
// the news to its status bar and title. Saving marks the history's clean
// state; a setting changed through the panel (the view's documentEdited)
// marks the document modified until the next save.
class DocumentSession : public QObject
{
    Q_OBJECT

public:
    // Belongs to window, whose title, status bar and boxes it uses.
    explicit DocumentSession(QMainWindow *window);
    ~DocumentSession() override;

    // Edits view's document, shown by panel, from here on untitled and
    // unmodified; before anything else.
    void attach(GLBox *view, ControlPanel *panel);
    // The File menu's New, Open..., Open Recent, Examples, Save and Save
    // As..., and the Edit menu's Undo and Redo with their names ("Undo Move
    // Point").
    void addFileEntries(QMenu *fileMenu);
    void addEditEntries(QMenu *editMenu);

    // See GLMainWindow for each.
    void newFile();
    void open();
    bool openFile(const QString &path);
    bool save();
    bool saveAs();
    bool offerRecovery(const QString &folder);
    void undo();
    void redo();
    // With unsaved changes, the modal Save / Discard / Cancel question;
    // true when the caller may go on.
    bool confirmDiscard();
    // File > Open Recent: openFile after the unsaved-changes question.
    void openAfterAsking(const QString &path);
    // File > Examples: after the unsaved-changes question, shows the
    // polygon file at path untitled and unmodified, so that Save asks for
    // a name; a file that cannot be read is reported as by openFile. True
    // when shown.
    bool openExample(const QString &path);
    // Replaces the control polygon by polygon as one undo step named step
    // ("Import Points"); a drag under way becomes a step of its own first.
    void replacePolygon(const PolygonSnapshot &polygon, const QString &step);
    // The files opened and saved lately (File > Open Recent).
    RecentFiles &recentFiles() { return *recent; }

    // The file being edited (empty while untitled) and the folder the file
    // dialogs start in.
    QString currentFile() const { return fileName; }
    QString folder() const { return lastFolder; }
    const Autosave &autosaveFile() const { return *autosave; }

    std::function<QString()> chooseOpenFile;
    std::function<QString()> chooseSaveFile;

private:
    // The title's modified marker from the history and settingsEdited;
    // the autosave follows it.
    void showModified();
    void moveInHistory(bool forward);
    bool saveTo(const QString &path);
    // Puts document into the view and the panel under the name path
    // (empty: untitled), unmodified.
    void showDocument(const Document &document, const QString &path);
    void setCurrentFile(const QString &path);
    // File > Examples: one entry per example found (object names such as
    // "letterCExampleAction"), or a disabled "No Examples Found".
    QMenu *examplesMenu();
    QString shownName() const;
    void tell(const QString &text, int milliseconds) const;

    QMainWindow *window;
    GLBox *view = nullptr;
    ControlPanel *panel = nullptr;
    QUndoStack *history = nullptr; // object name "history"
    RecentFiles *recent = nullptr;
    Autosave *autosave = nullptr;
    QAction *undoAction = nullptr; // object name "undoAction"
    QAction *redoAction = nullptr; // object name "redoAction"
    bool settingsEdited = false;   // a setting changed since the last save, New or Open
    QString fileName;
    QString lastFolder;
};
