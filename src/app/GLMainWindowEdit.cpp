#include "GLMainWindow.h"

#include "document/Autosave.h"

#include "document/PolygonEdit.h"
#include "geometry/ControlPoints.h"
#include "view/GLBox.h"

#include <QAction>
#include <QCheckBox>
#include <QKeySequence>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QUndoStack>

namespace {

// Steps kept for undo; older ones are dropped. A step keeps one snapshot
// of the polygon, 24 bytes a point: a whole history of a polygon of a few
// hundred points stays under 10 MB, while each step of one of the 100,000
// points a file may hold takes 2.4 MB.
constexpr int maxUndoSteps = 1000;

// "Undo Move Point", or "Undo" alone when there is nothing to take back.
QString entryText(const QString &verb, const QString &step)
{
    return step.isEmpty() ? verb : verb + " " + step;
}

} // namespace

void GLMainWindow::fillEditMenu(QMenu *editMenu)
{
    history = new QUndoStack(this);
    history->setObjectName("history");
    history->setUndoLimit(maxUndoSteps);

    undoAction = editMenu->addAction(tr("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), this, &GLMainWindow::undo);
    undoAction->setObjectName("undoAction");
    redoAction = editMenu->addAction(tr("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this,
                                     &GLMainWindow::redo);
    redoAction->setObjectName("redoAction");
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
    connect(history, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(history, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
    connect(history, &QUndoStack::undoTextChanged, this,
            [this](const QString &step) { undoAction->setText(entryText(tr("Undo"), step)); });
    connect(history, &QUndoStack::redoTextChanged, this,
            [this](const QString &step) { redoAction->setText(entryText(tr("Redo"), step)); });

    // Unsaved work goes to this window's recovery file a moment after each
    // change, but not while a drag is under way (it is one change when it
    // ends).
    autosave = new Autosave([this] { return Autosave::Work{glbox->snapshot(), fileName}; },
                            [this] { return glbox->mouseMode == GLBox::Move && glbox->movingPoint; },
                            Autosave::defaultFolder(), this);
    connect(history, &QUndoStack::indexChanged, this, [this] { autosave->changed(isWindowModified()); });

    connect(glbox, &GLBox::polygonEdited, this,
            [this](const PolygonSnapshot::Shared &before, const PolygonSnapshot::Shared &after, const QString &step) {
                history->push(new PolygonEdit(before, after, step, [box = glbox](const PolygonSnapshot::Shared &p) {
                    box->restorePolygon(p);
                }));
            });
    // An undone open or close shows in the switch; its signal would make
    // the view record the change as a new step.
    connect(history, &QUndoStack::indexChanged, this, [this] {
        const QSignalBlocker quiet(openCloseCurveCheckBox);
        openCloseCurveCheckBox->setChecked(glbox->controlPoints->closed);
    });
    connect(history, &QUndoStack::cleanChanged, this, &GLMainWindow::showModified);
    connect(glbox, &GLBox::documentEdited, this, [this] {
        settingsEdited = true;
        showModified();
    });
}

void GLMainWindow::showModified()
{
    setWindowModified(settingsEdited || !history->isClean());
    autosave->changed(isWindowModified());
}

void GLMainWindow::undo()
{
    moveInHistory(false);
}

void GLMainWindow::redo()
{
    moveInHistory(true);
}

void GLMainWindow::moveInHistory(bool forward)
{
    // A drag under way is the newest step, so undo takes it back first.
    glbox->commitDrag();
    if (forward ? !history->canRedo() : !history->canUndo())
        return;
    const QString step = forward ? history->redoText() : history->undoText();
    if (forward)
        history->redo();
    else
        history->undo();
    statusBar()->showMessage(entryText(forward ? tr("Redo") : tr("Undo"), step), GLBox::actionMessageTime);
}
