#include "ExportController.h"

#include "DocumentSession.h"
#include "Identity.h"
#include "PointsTransfer.h"
#include "curves/Curve.h"
#include "model/Scene.h"
#include "render/Figures.h"
#include "render/Frame.h"
#include "view/GLBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryFile>

#include <new>

namespace {

constexpr const char *folderKey = "export/folder";
constexpr const char *formatKey = "export/format";

// The "Print colours" and "PNG scale" row under the dialog's own widgets;
// each is enabled only for the types it concerns.
void addOptionsRow(QFileDialog &dialog, ExportOptions &options, QCheckBox *&printColours, QComboBox *&scale)
{
    auto *row = new QWidget(&dialog);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    printColours = new QCheckBox(QObject::tr("Print colours (dark polygon on white)"), row);
    printColours->setObjectName("printColoursCheckBox");
    printColours->setChecked(options.printColours);
    layout->addWidget(printColours);
    layout->addStretch(1);
    auto *label = new QLabel(QObject::tr("PNG scale:"), row);
    layout->addWidget(label);
    scale = new QComboBox(row);
    scale->setObjectName("pngScaleComboBox");
    for (const int s : ExportOptions::pngScales) {
        scale->addItem(QString("%1x").arg(s), s);
        if (s == options.pngScale)
            scale->setCurrentIndex(scale->count() - 1);
    }
    label->setBuddy(scale);
    layout->addWidget(scale);

    // Qt's own dialog lays its widgets out in a grid: the row goes below.
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(row, grid->rowCount(), 0, 1, grid->columnCount());
    const auto follow = [printColours, scale](const QString &filter) {
        ExportOptions type;
        type.format = static_cast<ExportOptions::Format>(ExportOptions::formatOfFilter(filter));
        printColours->setEnabled(type.isVector());
        scale->setEnabled(type.format == ExportOptions::Png);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, row, follow);
    follow(ExportOptions::filter(options.format));
}

bool runExportDialog(QWidget *parent, QString &path, ExportOptions &options)
{
    QFileDialog dialog(parent, QObject::tr("Export"), QFileInfo(path).absolutePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The options need the toolkit's own dialog; the export asks its own
    // question before it replaces a file, a second one would ask twice.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    for (int f = 0; f < ExportOptions::formatCount; ++f)
        filters << ExportOptions::filter(static_cast<ExportOptions::Format>(f));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(ExportOptions::filter(options.format));
    dialog.selectFile(QFileInfo(path).fileName());
    QCheckBox *printColours = nullptr;
    QComboBox *scale = nullptr;
    addOptionsRow(dialog, options, printColours, scale);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().constFirst();
    if (const int f = ExportOptions::formatOfFilter(dialog.selectedNameFilter()); f >= 0)
        options.format = static_cast<ExportOptions::Format>(f);
    options.printColours = printColours->isChecked();
    options.pngScale = scale->currentData().toInt();
    return true;
}

} // namespace

ExportController::ExportController(QMainWindow *window, const DocumentSession *session)
    : QObject(window), window(window), session(session)
{
    chooseExport = [this](QString &path, ExportOptions &chosen) {
        return runExportDialog(this->window, path, chosen);
    };
}

void ExportController::attach(GLBox *shown, PointsTransfer *writer)
{
    view = shown;
    points = writer;
    view->chooseExportFile = [shown] {
        // The export asks its own question before it replaces a file; a
        // second one from the dialog would ask twice.
        return QFileDialog::getSaveFileName(shown, QString(), ".", "PostScript (*.ps)", nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    view->confirmReplace = [shown](const QString &name) {
        return QMessageBox::warning(shown, "Warning...", QString("File %1 already exist! Overwrite?").arg(name),
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
}

void ExportController::addEntries(QMenu *fileMenu)
{
    fileMenu->addAction(tr("Export to &PostScript..."), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                        &ExportController::exportPostScript);
    fileMenu->addAction(tr("&Export..."), QKeySequence(Qt::CTRL | Qt::Key_E), this, &ExportController::exportFigure);
}

void ExportController::addCopyEntry(QMenu *editMenu)
{
    QAction *copy =
        editMenu->addAction(tr("Copy Figure"), QKeySequence(Qt::CTRL | Qt::Key_C), this, &ExportController::copyFigure);
    copy->setObjectName("copyFigureAction");
}

void ExportController::copyFigure()
{
    view->upToDate();
    Scene &scene = view->scene();
    QByteArray svg;
    try {
        svg = Figures::svg(view->renderer(), Frame::page(view->viewTransform, ExportOptions::pageSide, options.printColours),
                           Figures::pageBox(scene, view->viewTransform, ExportOptions::pageSide),
                           ExportOptions::pageSide, Figures::title(scene));
    } catch (const std::bad_alloc &) {
        QMessageBox::warning(window, tr("Copy Figure"), tr("Not enough memory to copy the figure."));
        return;
    }
    auto *data = new QMimeData;
    // Qt offers the image as PNG (and the other image types) to whoever
    // pastes; vector programs take the SVG.
    data->setImageData(view->grabFramebuffer());
    data->setData("image/svg+xml", svg);
    QApplication::clipboard()->setMimeData(data);
    window->statusBar()->showMessage(tr("Copied the figure (PNG and SVG)"), GLBox::actionMessageTime);
}

QString ExportController::usableFolder(const QString &folder, const QString &fallback)
{
    // Writing a file is the only sure test: a folder may be gone, or be
    // one (such as /proc) that refuses new files whatever its permission
    // bits say, and whose listing would hold up the save dialog.
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return fallback;
    QTemporaryFile probe(QDir(folder).filePath(".ornelle-probe-XXXXXX"));
    return probe.open() ? folder : fallback;
}

bool ExportController::runExport(const std::function<void()> &exportView)
{
    QString failure;
    const QMetaObject::Connection watch =
        connect(view, &GLBox::exportFailed, this, [&failure](const QString &message) { failure = message; });
    exportView();
    disconnect(watch);
    if (failure.isEmpty())
        return true;
    QMessageBox::warning(window, tr("Export"), failure);
    return false;
}

void ExportController::exportPostScript()
{
    runExport([this] { view->exportPS(); });
}

void ExportController::exportFigure()
{
    QSettings settings = programSettings();
    // Where the last figure went; before the first, beside the polygon file.
    const QString besideFile = session->folder().isEmpty() ? QDir::currentPath() : session->folder();
    const QString folder = usableFolder(settings.value(folderKey).toString(), besideFile);
    const int remembered = settings.value(formatKey, ExportOptions::Pdf).toInt();
    ExportOptions chosen = options;
    if (remembered >= 0 && remembered < ExportOptions::formatCount)
        chosen.format = static_cast<ExportOptions::Format>(remembered);
    const Curve *curve = view->scene().selectedCurve();
    QString path = QDir(folder).filePath(ExportOptions::baseName(view->scene().selected(), curve ? curve->level : 0) +
                                         "." + ExportOptions::suffix(chosen.format));
    if (!chooseExport || !chooseExport(path, chosen) || path.isEmpty())
        return;

    ExportOptions::Format type = chosen.format;
    path = ExportOptions::completedName(path, type);
    chosen.format = type;
    options = chosen;
    bool written = false;
    if (chosen.isCurvePoints())
        written = points->exportPoints(path, type);
    else if (!runExport([&] { written = view->exportFile(path, chosen); }))
        return;
    if (!written)
        return;
    settings.setValue(folderKey, QFileInfo(path).absolutePath());
    settings.setValue(formatKey, static_cast<int>(type));
}
