#include "GLMainWindow.h"

#include "document/Autosave.h"
#include "document/RecoveryFile.h"
#include "model/Document.h"
#include "document/DocumentFile.h"
#include "view/GLBox.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>

#include <cstdio>
#include <memory>

namespace {

// Start-up news about recovered work stays this long (milliseconds).
constexpr int recoveryMessageTime = 10000;

QString fileFilter()
{
    return QObject::tr("Ornelle polygons (*.%1);;All files (*)").arg(DocumentFile::suffix);
}

} // namespace

void GLMainWindow::addDocumentEntries(QMenu *fileMenu)
{
    fileMenu->addAction(tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), this, &GLMainWindow::newFile);
    fileMenu->addAction(tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), this, &GLMainWindow::open);
    fileMenu->addAction(tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), this, &GLMainWindow::save);
    fileMenu->addAction(tr("Save &As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this,
                        &GLMainWindow::saveAs);

    chooseOpenFile = [this] { return QFileDialog::getOpenFileName(this, tr("Open"), lastFolder, fileFilter()); };
    chooseSaveFile = [this] {
        // A dialog object rather than the static function, so that the
        // suffix is added before the dialog's own overwrite question.
        QFileDialog dialog(this, tr("Save As"), fileName.isEmpty() ? lastFolder : fileName, fileFilter());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(DocumentFile::suffix);
        if (fileName.isEmpty())
            dialog.selectFile(tr("Untitled") + "." + DocumentFile::suffix);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
}

QString GLMainWindow::shownName() const
{
    return fileName.isEmpty() ? tr("Untitled") : QDir::toNativeSeparators(fileName);
}

void GLMainWindow::setCurrentFile(const QString &path)
{
    fileName = path;
    if (!path.isEmpty())
        lastFolder = QFileInfo(path).absolutePath();
    // With no title of its own the window shows the file's name and "[*]",
    // which the toolkit turns into its modified marker; the application's
    // display name follows the name.
    setWindowFilePath(path.isEmpty() ? tr("Untitled") : path);
    // The file now holds the polygon as it is: undoing back to here is
    // unmodified again.
    history->setClean();
    settingsEdited = false;
    showModified();
}

bool GLMainWindow::confirmDiscard()
{
    if (!isWindowModified())
        return true;
    const auto answer = QMessageBox::warning(
        this, tr("Unsaved Changes"), tr("%1 has been modified.\nDo you want to save your changes?").arg(shownName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return save();
    return answer == QMessageBox::Discard;
}

void GLMainWindow::showDocument(const Document &document, const QString &path)
{
    glbox->apply(document);
    history->clear();
    showAppliedSettings();
    setCurrentFile(path);
}

void GLMainWindow::newFile()
{
    if (!confirmDiscard())
        return;
    showDocument(Document(), QString());
    statusBar()->showMessage(tr("New polygon"), GLBox::actionMessageTime);
}

void GLMainWindow::open()
{
    if (!confirmDiscard())
        return;
    const QString path = chooseOpenFile ? chooseOpenFile() : QString();
    if (!path.isEmpty())
        openFile(path);
}

bool GLMainWindow::openFile(const QString &path)
{
    Document document;
    const QString problem = DocumentFile::read(path, document);
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, tr("Open"), problem);
        return false;
    }
    showDocument(document, path);
    statusBar()->showMessage(tr("Opened %1").arg(shownName()), GLBox::actionMessageTime);
    return true;
}

bool GLMainWindow::save()
{
    return fileName.isEmpty() ? saveAs() : saveTo(fileName);
}

bool GLMainWindow::saveAs()
{
    const QString path = chooseSaveFile ? chooseSaveFile() : QString();
    return !path.isEmpty() && saveTo(path);
}

bool GLMainWindow::saveTo(const QString &path)
{
    const QString problem = DocumentFile::write(path, glbox->snapshot());
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, tr("Save"), problem);
        return false;
    }
    setCurrentFile(path);
    statusBar()->showMessage(tr("Saved %1").arg(shownName()), GLBox::actionMessageTime);
    return true;
}

bool GLMainWindow::offerRecovery(const QString &folder)
{
    const std::unique_ptr<RecoveryFile> orphan = RecoveryFile::find(folder);
    if (!orphan)
        return false;
    Document document;
    QString file;
    if (const QString problem = orphan->read(document, file); !problem.isEmpty()) {
        // Told without a question, so that it never holds up the start;
        // the file is kept, under another name, for whoever wants to look.
        const QString aside = orphan->setAside();
        const QString message =
            aside.isEmpty() ? tr("A damaged recovery file could not be set aside: %1").arg(problem)
                            : tr("A damaged recovery file was set aside as %1: %2")
                                  .arg(QDir::toNativeSeparators(aside), problem);
        std::fprintf(stderr, "%s\n", qPrintable(message));
        statusBar()->showMessage(message, recoveryMessageTime);
        return false;
    }

    const QString what = file.isEmpty() ? tr("an untitled polygon") : QDir::toNativeSeparators(file);
    QMessageBox question(QMessageBox::Question, tr("Recover Work"),
                         tr("Ornelle ended without saving the work on %1 (%2 points, autosaved %3).\n"
                            "Recover that work?")
                             .arg(what)
                             .arg(document.points.size())
                             .arg(QLocale().toString(orphan->written(), QLocale::ShortFormat)),
                         QMessageBox::NoButton, this);
    question.setObjectName("recoveryQuestion");
    QPushButton *recover = question.addButton(tr("Recover"), QMessageBox::AcceptRole);
    QPushButton *discard = question.addButton(tr("Discard"), QMessageBox::DestructiveRole);
    question.setDefaultButton(recover);
    question.exec();
    if (question.clickedButton() == discard) {
        orphan->discard();
        return false;
    }
    if (question.clickedButton() != recover)
        return false; // closed unanswered: offered again at the next start

    showDocument(document, file);
    settingsEdited = true;
    showModified();
    // In this instance's own recovery file before the old one goes, so that
    // a crash right now still loses nothing.
    autosave->writeNow();
    orphan->discard();
    statusBar()->showMessage(tr("Recovered the unsaved work on %1").arg(what), recoveryMessageTime);
    return true;
}

void GLMainWindow::closeEvent(QCloseEvent *event)
{
    if (confirmDiscard())
        event->accept();
    else
        event->ignore();
}
