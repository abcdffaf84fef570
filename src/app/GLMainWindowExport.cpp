#include "GLMainWindow.h"

#include "curves/Curve.h"
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

void GLMainWindow::addExportEntry(QMenu *fileMenu)
{
    fileMenu->addAction(tr("&Export..."), QKeySequence(Qt::CTRL | Qt::Key_E), this, &GLMainWindow::exportFigure);
    chooseExport = [this](QString &path, ExportOptions &options) { return runExportDialog(this, path, options); };
}

QString GLMainWindow::usableFolder(const QString &folder, const QString &fallback)
{
    // Writing a file is the only sure test: a folder may be gone, or be
    // one (such as /proc) that refuses new files whatever its permission
    // bits say, and whose listing would hold up the save dialog.
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return fallback;
    QTemporaryFile probe(QDir(folder).filePath(".ornelle-probe-XXXXXX"));
    return probe.open() ? folder : fallback;
}

bool GLMainWindow::runExport(const std::function<void()> &exportView)
{
    QString failure;
    const QMetaObject::Connection watch =
        connect(glbox, &GLBox::exportFailed, this, [&failure](const QString &message) { failure = message; });
    exportView();
    disconnect(watch);
    if (failure.isEmpty())
        return true;
    QMessageBox::warning(this, tr("Export"), failure);
    return false;
}

void GLMainWindow::exportPostScript()
{
    runExport([this] { glbox->exportPS(); });
}

void GLMainWindow::exportFigure()
{
    QSettings settings = programSettings();
    // Where the last figure went; before the first, beside the polygon file.
    const QString besideFile = lastFolder.isEmpty() ? QDir::currentPath() : lastFolder;
    const QString folder = usableFolder(settings.value(folderKey).toString(), besideFile);
    const int format = settings.value(formatKey, ExportOptions::Pdf).toInt();
    ExportOptions options = exportOptions;
    if (format >= 0 && format < ExportOptions::formatCount)
        options.format = static_cast<ExportOptions::Format>(format);
    const Curve *curve = glbox->selectedCurve();
    QString path = QDir(folder).filePath(ExportOptions::baseName(glbox->currentCurve, curve ? curve->level : 0) +
                                         "." + ExportOptions::suffix(options.format));
    if (!chooseExport || !chooseExport(path, options) || path.isEmpty())
        return;

    ExportOptions::Format chosen = options.format;
    path = ExportOptions::completedName(path, chosen);
    options.format = chosen;
    exportOptions = options;
    bool written = false;
    if (!runExport([&] { written = glbox->exportFile(path, options); }) || !written)
        return;
    settings.setValue(folderKey, QFileInfo(path).absolutePath());
    settings.setValue(formatKey, static_cast<int>(chosen));
}
