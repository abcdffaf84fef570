#include "ExportController.h"

#include "DocumentSession.h"
#include "curves/Curve.h"
#include "model/Scene.h"
#include "view/GLBox.h"

#include <QCheckBox>
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
#include <QSettings>
#include <QTemporaryFile>

namespace {

// Kept under the program's own name, whatever the running executable is
// called.
QSettings programSettings()
{
    return QSettings(QSettings::UserScope, "ornelle", "ornelle");
}

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
        const bool png = ExportOptions::formatOfFilter(filter) == ExportOptions::Png;
        printColours->setEnabled(!png);
        scale->setEnabled(png);
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

void ExportController::attach(GLBox *shown)
{
    view = shown;
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
    if (!runExport([&] { written = view->exportFile(path, chosen); }) || !written)
        return;
    settings.setValue(folderKey, QFileInfo(path).absolutePath());
    settings.setValue(formatKey, static_cast<int>(type));
}
