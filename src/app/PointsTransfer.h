#pragma once

#include "document/PointImport.h"
#include "view/ExportOptions.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class DocumentSession;
class GLBox;
class QMainWindow;
class QMenu;

// Points in and out of the program as text. Out: the selected curve's
// points as CSV or JSON, by the command line's own writers
// (FigureExport::csv and ::json), into a file (File > Export...) or onto
// the clipboard (Edit > Copy Curve Points, CSV). In: File > Import
// Points... and Edit > Paste Points read CSV, white-space separated x y
// text or an SVG file's first path, polyline or polygon (PointImport); the
// points replace the control polygon as one undo step ("Import Points"),
// scaled into the visible square when they do not fit there (the status
// bar says so). An SVG shape that closes itself closes the polygon;
// otherwise the polygon keeps its Closed Curve switch. Input that cannot
// be read is told in one sentence, naming the file (or the clipboard) and
// the line, in a warning box, and changes nothing.
class PointsTransfer : public QObject
{
    Q_OBJECT

public:
    // Belongs to window (object name "pointsTransfer"), whose boxes and
    // status bar it uses; imports become steps of session's history.
    PointsTransfer(QMainWindow *window, DocumentSession *session);
    // Works on view's scene; before anything else.
    void attach(GLBox *view);

    // File > Import Points... (Ctrl+I, "importPointsAction").
    void addImportEntry(QMenu *fileMenu);
    // Edit > Copy Curve Points (Ctrl+Shift+C, "copyCurvePointsAction") and
    // Paste Points (Ctrl+V, "pastePointsAction").
    void addEditEntries(QMenu *editMenu);

    // Asks for a file (chooseImportFile) and imports it.
    void importPoints();
    // Imports the points of the file at path; true when the polygon took
    // them.
    bool importFile(const QString &path);
    // Imports the clipboard's text; true when the polygon took it.
    bool pastePoints();
    // Puts the selected curve's points on the clipboard as CSV (text/plain
    // and text/csv); true when there was a curve to copy, else the reason
    // is told.
    bool copyCurvePoints();
    // Writes the selected curve's points in format (Csv or Json) to path,
    // after the view's question for a name that is taken; replaces a file
    // only by a complete one. A failure is told in a box, the status bar
    // and on standard error. True when path holds them.
    bool exportPoints(const QString &path, ExportOptions::Format format);

    // The file to import; empty cancels. By default the toolkit's open
    // dialog for points (*.csv, *.txt, *.svg) in the document's folder.
    std::function<QString()> chooseImportFile;

private:
    // The text of format for the scene as it is now; empty with the reason
    // in problem when CSV is asked for and no curve is drawn.
    QByteArray curvePoints(ExportOptions::Format format, QString &problem);
    // The points read from source (a file's name, or "the clipboard"), or
    // the reason they could not be, into the polygon as one step.
    bool take(const QString &problem, PointImport::Result &read, const QString &source, const QString &caption);
    void fail(const QString &caption, const QString &problem) const;
    void tell(const QString &text, int milliseconds) const;

    QMainWindow *window;
    DocumentSession *session;
    GLBox *view = nullptr;
};
