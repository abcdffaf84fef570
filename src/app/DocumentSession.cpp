#include "DocumentSession.h"

#include "ControlPanel.h"
#include "ExampleFiles.h"
#include "RecentFiles.h"
#include "document/Autosave.h"
#include "document/DocumentFile.h"
#include "document/PolygonEdit.h"
#include "document/RecoveryFile.h"
#include "model/Document.h"
#include "view/GLBox.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>

#include <cstdio>
#include <memory>

namespace {

// Steps kept for undo; older ones are dropped. A step keeps one snapshot
// of the polygon, 24 bytes a point: a whole history of a polygon of a few
// hundred points stays under 10 MB, while each step of one of the 100,000
// points a file may hold takes 2.4 MB.
constexpr int maxUndoSteps = 1000;
// Start-up news about recovered work stays this long (milliseconds).
constexpr int recoveryMessageTime = 10000;
// So does the note that an example is untitled.
constexpr int exampleMessageTime = 5000;

QString fileFilter()
{
    return QObject::tr("Ornelle polygons (*.%1);;All files (*)").arg(DocumentFile::suffix);
}

// "Undo Move Point", or "Undo" alone when there is nothing to take back.
QString entryText(const QString &verb, const QString &step)
{
    return step.isEmpty() ? verb : verb + " " + step;
}

} // namespace

DocumentSession::DocumentSession(QMainWindow *window) : QObject(window), window(window)
{
    history = new QUndoStack(this);
    history->setObjectName("history");
    history->setUndoLimit(maxUndoSteps);
    recent = new RecentFiles(window);
    connect(recent, &RecentFiles::chosen, this, &DocumentSession::openAfterAsking);

    chooseOpenFile = [this] {
        return QFileDialog::getOpenFileName(this->window, tr("Open"), lastFolder, fileFilter());
    };
    chooseSaveFile = [this] {
        // A dialog object rather than the static function, so that the
        // suffix is added before the dialog's own overwrite question.
        QFileDialog dialog(this->window, tr("Save As"), fileName.isEmpty() ? lastFolder : fileName, fileFilter());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(DocumentFile::suffix);
        if (fileName.isEmpty())
            dialog.selectFile(tr("Untitled") + "." + DocumentFile::suffix);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
}

DocumentSession::~DocumentSession()
{
    // The history clears itself as it goes and would tell the handlers
    // below, whose widgets may be gone.
    history->disconnect();
}

void DocumentSession::attach(GLBox *shown, ControlPanel *controls)
{
    view = shown;
    panel = controls;
    // Unsaved work goes to this window's recovery file a moment after each
    // change, but not while a drag is under way (it is one change when it
    // ends).
    autosave = new Autosave([this] { return Autosave::Work{view->snapshot(), fileName}; },
                            [this] { return view->mouseMode == GLBox::Move && view->movingPoint; },
                            Autosave::defaultFolder(), this);
    connect(history, &QUndoStack::indexChanged, this, [this] { autosave->changed(window->isWindowModified()); });
    connect(view, &GLBox::polygonEdited, this,
            [this](const PolygonSnapshot::Shared &before, const PolygonSnapshot::Shared &after, const QString &step) {
                history->push(new PolygonEdit(before, after, step,
                                              [box = view](const PolygonSnapshot::Shared &p) { box->restorePolygon(p); }));
            });
    // The view took the step back itself: an obsolete step is dropped by
    // the undo without being run.
    connect(view, &GLBox::lastEditWithdrawn, this, [this] {
        if (!history->canUndo())
            return;
        const_cast<QUndoCommand *>(history->command(history->index() - 1))->setObsolete(true);
        history->undo();
    });
    // An undone open or close shows in the switch; its signal would make
    // the view record the change as a new step.
    connect(history, &QUndoStack::indexChanged, this, [this] { panel->showClosed(); });
    connect(history, &QUndoStack::cleanChanged, this, &DocumentSession::showModified);
    connect(view, &GLBox::documentEdited, this, [this] {
        settingsEdited = true;
        showModified();
    });
    setCurrentFile(QString());
}

void DocumentSession::addFileEntries(QMenu *fileMenu)
{
    fileMenu->addAction(tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), this, &DocumentSession::newFile);
    fileMenu->addAction(tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), this, &DocumentSession::open);
    fileMenu->addMenu(recent->menu());
    fileMenu->addMenu(examplesMenu());
    fileMenu->addAction(tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), this, &DocumentSession::save);
    fileMenu->addAction(tr("Save &As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this,
                        &DocumentSession::saveAs);
}

QMenu *DocumentSession::examplesMenu()
{
    auto *menu = new QMenu(tr("Examples"), window);
    menu->setObjectName("examplesMenu");
    const QStringList examples = ExampleFiles::found();
    for (const QString &path : examples) {
        const QString title = ExampleFiles::title(path);
        QAction *entry = menu->addAction(title, this, [this, path] { openExample(path); });
        QString name = QString(title).remove(' ') + "ExampleAction";
        name[0] = name[0].toLower();
        entry->setObjectName(name);
        entry->setStatusTip(QDir::toNativeSeparators(path));
    }
    if (examples.isEmpty()) {
        QAction *none = menu->addAction(tr("No Examples Found"));
        none->setObjectName("noExamplesAction");
        none->setEnabled(false);
        none->setToolTip(tr("Looked in %1").arg(ExampleFiles::searchFolders().join(", ")));
    }
    return menu;
}

void DocumentSession::addEditEntries(QMenu *editMenu)
{
    undoAction = editMenu->addAction(tr("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), this, &DocumentSession::undo);
    undoAction->setObjectName("undoAction");
    redoAction = editMenu->addAction(tr("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this,
                                     &DocumentSession::redo);
    redoAction->setObjectName("redoAction");
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
    connect(history, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(history, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
    connect(history, &QUndoStack::undoTextChanged, undoAction,
            [this](const QString &step) { undoAction->setText(entryText(tr("Undo"), step)); });
    connect(history, &QUndoStack::redoTextChanged, redoAction,
            [this](const QString &step) { redoAction->setText(entryText(tr("Redo"), step)); });
}

void DocumentSession::tell(const QString &text, int milliseconds) const
{
    window->statusBar()->showMessage(text, milliseconds);
}

void DocumentSession::showModified()
{
    window->setWindowModified(settingsEdited || !history->isClean());
    autosave->changed(window->isWindowModified());
}

void DocumentSession::undo()
{
    moveInHistory(false);
}

void DocumentSession::redo()
{
    moveInHistory(true);
}

void DocumentSession::moveInHistory(bool forward)
{
    // A drag under way is the newest step, so undo takes it back first.
    view->commitDrag();
    if (forward ? !history->canRedo() : !history->canUndo())
        return;
    const QString step = forward ? history->redoText() : history->undoText();
    if (forward)
        history->redo();
    else
        history->undo();
    tell(entryText(forward ? tr("Redo") : tr("Undo"), step), GLBox::actionMessageTime);
}

QString DocumentSession::shownName() const
{
    return fileName.isEmpty() ? tr("Untitled") : QDir::toNativeSeparators(fileName);
}

void DocumentSession::setCurrentFile(const QString &path)
{
    fileName = path;
    if (!path.isEmpty())
        lastFolder = QFileInfo(path).absolutePath();
    // With no title of its own the window shows the file's name and "[*]",
    // which the toolkit turns into its modified marker; the application's
    // display name follows the name.
    window->setWindowFilePath(path.isEmpty() ? tr("Untitled") : path);
    // The file now holds the polygon as it is: undoing back to here is
    // unmodified again.
    history->setClean();
    settingsEdited = false;
    showModified();
}

bool DocumentSession::confirmDiscard()
{
    if (!window->isWindowModified())
        return true;
    const auto answer = QMessageBox::warning(
        window, tr("Unsaved Changes"), tr("%1 has been modified.\nDo you want to save your changes?").arg(shownName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return save();
    return answer == QMessageBox::Discard;
}

void DocumentSession::showDocument(const Document &document, const QString &path)
{
    view->apply(document);
    history->clear();
    panel->showApplied();
    setCurrentFile(path);
}

void DocumentSession::newFile()
{
    if (!confirmDiscard())
        return;
    showDocument(Document(), QString());
    tell(tr("New polygon"), GLBox::actionMessageTime);
}

void DocumentSession::open()
{
    if (!confirmDiscard())
        return;
    const QString path = chooseOpenFile ? chooseOpenFile() : QString();
    if (!path.isEmpty())
        openFile(path);
}

bool DocumentSession::openFile(const QString &path)
{
    Document document;
    const QString problem = DocumentFile::read(path, document);
    if (!problem.isEmpty()) {
        QMessageBox::warning(window, tr("Open"), problem);
        return false;
    }
    showDocument(document, path);
    recent->add(path);
    tell(tr("Opened %1").arg(shownName()), GLBox::actionMessageTime);
    return true;
}

void DocumentSession::openAfterAsking(const QString &path)
{
    if (confirmDiscard())
        openFile(path);
}

bool DocumentSession::openExample(const QString &path)
{
    if (!confirmDiscard())
        return false;
    Document document;
    if (const QString problem = DocumentFile::read(path, document); !problem.isEmpty()) {
        QMessageBox::warning(window, tr("Open"), problem);
        return false;
    }
    showDocument(document, QString());
    tell(tr("The example %1, untitled: Save As keeps your own copy").arg(ExampleFiles::title(path)),
         exampleMessageTime);
    return true;
}

void DocumentSession::replacePolygon(const PolygonSnapshot &polygon, const QString &step)
{
    view->commitDrag();
    const Document now = view->snapshot();
    auto before = std::make_shared<const PolygonSnapshot>(PolygonSnapshot{now.points, now.closed});
    auto after = std::make_shared<const PolygonSnapshot>(polygon);
    if (*before == *after)
        return;
    // The step is on screen before it is pushed, as every edit's is.
    view->restorePolygon(after);
    history->push(new PolygonEdit(before, after, step,
                                  [box = view](const PolygonSnapshot::Shared &p) { box->restorePolygon(p); }));
}

bool DocumentSession::save()
{
    return fileName.isEmpty() ? saveAs() : saveTo(fileName);
}

bool DocumentSession::saveAs()
{
    const QString path = chooseSaveFile ? chooseSaveFile() : QString();
    return !path.isEmpty() && saveTo(path);
}

bool DocumentSession::saveTo(const QString &path)
{
    const QString problem = DocumentFile::write(path, view->snapshot());
    if (!problem.isEmpty()) {
        QMessageBox::warning(window, tr("Save"), problem);
        return false;
    }
    setCurrentFile(path);
    recent->add(path);
    tell(tr("Saved %1").arg(shownName()), GLBox::actionMessageTime);
    return true;
}

bool DocumentSession::offerRecovery(const QString &folder)
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
        tell(message, recoveryMessageTime);
        return false;
    }

    const QString what = file.isEmpty() ? tr("an untitled polygon") : QDir::toNativeSeparators(file);
    QMessageBox question(QMessageBox::Question, tr("Recover Work"),
                         tr("Ornelle ended without saving the work on %1 (%2 points, autosaved %3).\n"
                            "Recover that work?")
                             .arg(what)
                             .arg(document.points.size())
                             .arg(QLocale().toString(orphan->written(), QLocale::ShortFormat)),
                         QMessageBox::NoButton, window);
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
    tell(tr("Recovered the unsaved work on %1").arg(what), recoveryMessageTime);
    return true;
}
