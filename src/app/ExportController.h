#pragma once

#include "view/ExportOptions.h"

#include <QObject>
#include <QString>

#include <functional>

class DocumentSession;
class GLBox;
class PointsTransfer;
class QMainWindow;
class QMenu;

// The window's exports: File > Export to PostScript (the view's exportPS),
// File > Export... (one dialog for the file, its type and the options;
// the type's suffix added; the folder and the type remembered between runs
// once a file was written; the curve's points as CSV or JSON written by
// PointsTransfer) and Edit > Copy Figure (the view's picture as PNG and
// the page as SVG on the clipboard), each failure told in a warning box
// besides the view's own report. Also answers the view's questions: which
// PostScript file, and whether to replace a file that exists.
class ExportController : public QObject
{
    Q_OBJECT

public:
    // Belongs to window, whose boxes it shows; proposes the folder of
    // session's file before any export.
    ExportController(QMainWindow *window, const DocumentSession *session);
    // Exports view's picture and answers its questions; points writes the
    // curve's points. Before anything else.
    void attach(GLBox *view, PointsTransfer *points);

    // The entries of the File menu.
    void addEntries(QMenu *fileMenu);
    // Edit > Copy Figure (Ctrl+C, "copyFigureAction").
    void addCopyEntry(QMenu *editMenu);
    // File > Export... and File > Export to PostScript.
    void exportFigure();
    void exportPostScript();
    // Edit > Copy Figure: the view as drawn (an image, offered as PNG) and
    // the page of File > Export... with the options last chosen (SVG,
    // "image/svg+xml") on the clipboard.
    void copyFigure();

    // Asks for the figure to export (see GLMainWindow::chooseExport).
    std::function<bool(QString &path, ExportOptions &options)> chooseExport;

private:
    // Runs an export of the view; true when it did not fail. A failure the
    // view reports is shown in a warning box as well.
    bool runExport(const std::function<void()> &exportView);
    // The remembered folder when it is one a file can be written to, else
    // fallback.
    static QString usableFolder(const QString &folder, const QString &fallback);

    QMainWindow *window;
    GLBox *view = nullptr;
    PointsTransfer *points = nullptr;
    const DocumentSession *session;
    ExportOptions options; // as last chosen in this session
};
