#include "PointsTransfer.h"

#include "DocumentSession.h"
#include "FigureExport.h"
#include "curves/Curve.h"
#include "model/Document.h"
#include "model/Scene.h"
#include "render/ExportFile.h"
#include "view/GLBox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>

#include <cstdio>

static_assert(PointImport::maxPoints == Document::maxPoints, "an import holds what a polygon file may");

namespace {

// How long the news of an import that had to be scaled stays.
constexpr int scaledMessageTime = 6000;

QString pointCount(std::size_t count)
{
    return count == 1 ? QObject::tr("1 point") : QObject::tr("%1 points").arg(count);
}

} // namespace

PointsTransfer::PointsTransfer(QMainWindow *window, DocumentSession *session)
    : QObject(window), window(window), session(session)
{
    setObjectName("pointsTransfer");
    chooseImportFile = [this] {
        return QFileDialog::getOpenFileName(this->window, tr("Import Points"), this->session->folder(),
                                            tr("Points (*.csv *.txt *.svg);;All files (*)"));
    };
}

void PointsTransfer::attach(GLBox *shown)
{
    view = shown;
}

void PointsTransfer::addImportEntry(QMenu *fileMenu)
{
    QAction *entry = fileMenu->addAction(tr("Import Points..."), QKeySequence(Qt::CTRL | Qt::Key_I), this,
                                         &PointsTransfer::importPoints);
    entry->setObjectName("importPointsAction");
}

void PointsTransfer::addEditEntries(QMenu *editMenu)
{
    QAction *copy = editMenu->addAction(tr("Copy Curve Points"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                                        this, &PointsTransfer::copyCurvePoints);
    copy->setObjectName("copyCurvePointsAction");
    QAction *paste = editMenu->addAction(tr("Paste Points"), QKeySequence(Qt::CTRL | Qt::Key_V), this,
                                         &PointsTransfer::pastePoints);
    paste->setObjectName("pastePointsAction");
}

void PointsTransfer::tell(const QString &text, int milliseconds) const
{
    window->statusBar()->showMessage(text, milliseconds);
}

void PointsTransfer::fail(const QString &caption, const QString &problem) const
{
    tell(problem, GLBox::actionMessageTime);
    QMessageBox::warning(window, caption, problem);
}

void PointsTransfer::importPoints()
{
    const QString path = chooseImportFile ? chooseImportFile() : QString();
    if (!path.isEmpty())
        importFile(path);
}

bool PointsTransfer::importFile(const QString &path)
{
    PointImport::Result read;
    const QString problem = PointImport::readFile(path, read);
    return take(problem, read, QDir::toNativeSeparators(path), tr("Import Points"));
}

bool PointsTransfer::pastePoints()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    const QString source = tr("the clipboard");
    PointImport::Result read;
    QString problem;
    if (!data || !data->hasText() || data->text().trimmed().isEmpty())
        problem = tr("The clipboard holds no text to read points from.");
    else
        problem = PointImport::read(data->text().toUtf8(), source, read);
    return take(problem, read, source, tr("Paste Points"));
}

bool PointsTransfer::take(const QString &problem, PointImport::Result &read, const QString &source,
                          const QString &caption)
{
    if (!problem.isEmpty()) {
        fail(caption, problem);
        return false;
    }
    // Points beyond the visible square would be out of sight, and beyond
    // the view's reach out of the editor's: both come into the view.
    const ViewTransform &shown = view->viewTransform;
    const bool scaled = PointImport::fitInto(read.points, shown.centreX(), shown.centreY(), shown.side() / 2);
    const bool closed = read.closed || view->scene().polygon().closed;
    session->replacePolygon(PolygonSnapshot{read.points, closed}, tr("Import Points"));
    const QString count = pointCount(read.points.size());
    if (scaled)
        tell(tr("Imported %1 from %2; they did not fit in the view and were scaled into it").arg(count, source),
             scaledMessageTime);
    else
        tell(tr("Imported %1 from %2").arg(count, source), GLBox::actionMessageTime);
    return true;
}

QByteArray PointsTransfer::curvePoints(ExportOptions::Format format, QString &problem)
{
    const Scene::Readout &read = view->upToDate();
    Scene &scene = view->scene();
    if (format == ExportOptions::Json)
        return FigureExport::json(scene, read.polygonArea, read.deltaArea);
    const Curve *curve = scene.selectedCurve();
    if (!curve)
        problem = tr("no scheme is selected, so there is no curve whose points to write.");
    else if (!curve->drawsCurve())
        problem = tr("the %1 scheme draws no curve here: it needs %2 points.")
                      .arg(Schemes::row(curve->scheme()).name,
                           curve->closedOnly ? tr("a closed polygon of 3 or more") : tr("3 or more"));
    return problem.isEmpty() ? FigureExport::csv(scene) : QByteArray();
}

bool PointsTransfer::copyCurvePoints()
{
    QString problem;
    const QByteArray text = curvePoints(ExportOptions::Csv, problem);
    if (!problem.isEmpty()) {
        fail(tr("Copy Curve Points"), tr("Could not copy the curve's points: %1").arg(problem));
        return false;
    }
    auto *data = new QMimeData;
    data->setText(QString::fromUtf8(text));
    data->setData("text/csv", text);
    QApplication::clipboard()->setMimeData(data);
    // One line a point, after the header.
    tell(tr("Copied %1 of the curve").arg(pointCount(static_cast<std::size_t>(text.count('\n') - 1))),
         GLBox::actionMessageTime);
    return true;
}

bool PointsTransfer::exportPoints(const QString &path, ExportOptions::Format format)
{
    // Told as every export's failure is, also on standard error.
    const auto failed = [this](const QString &message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        fail(tr("Export"), message);
        return false;
    };
    QString problem;
    const QByteArray bytes = curvePoints(format, problem);
    if (!problem.isEmpty())
        return failed(tr("Could not write file %1: %2").arg(QDir::toNativeSeparators(path), problem));
    // Whether the name is taken, not whether it can be read, as for every
    // export.
    const QFileInfo info(path);
    if ((info.exists() || info.isSymLink()) && !(view->confirmReplace && view->confirmReplace(path)))
        return false;
    const ExportFile::Result result = ExportFile::write(path, bytes);
    if (!result.ok())
        return failed(result.message);
    tell(tr("Exported %1").arg(info.fileName()), GLBox::actionMessageTime);
    return true;
}
