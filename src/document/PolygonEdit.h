#pragma once

#include "model/PolygonSnapshot.h"

#include <QUndoCommand>

#include <functional>

// One step of the undo history: an edit of the control polygon that has
// already happened, kept as the polygon before and after it. Undo hands
// the snapshot before to restore, redo the one after; the first redo,
// which QUndoStack::push runs, does nothing because the edit is already
// on screen. Steps never merge: each edit is taken back on its own.
class PolygonEdit : public QUndoCommand
{
public:
    // Puts a snapshot back into whatever shows the polygon.
    using Restore = std::function<void(const PolygonSnapshot::Shared &)>;

    // before and after must not be null; step names the edit as the Edit
    // menu shows it after "Undo" and "Redo" ("Move Point").
    PolygonEdit(PolygonSnapshot::Shared before, PolygonSnapshot::Shared after, const QString &step,
                Restore restore);

    void undo() override;
    void redo() override;

private:
    PolygonSnapshot::Shared before;
    PolygonSnapshot::Shared after;
    Restore restore;
    bool pushed = false; // the first redo has been skipped
};
