#include "PolygonEdit.h"

#include <utility>

PolygonEdit::PolygonEdit(PolygonSnapshot::Shared before, PolygonSnapshot::Shared after, const QString &step,
                         Restore restore)
    : QUndoCommand(step), before(std::move(before)), after(std::move(after)), restore(std::move(restore))
{
}

void PolygonEdit::undo()
{
    restore(before);
}

void PolygonEdit::redo()
{
    if (!pushed) {
        pushed = true;
        return;
    }
    restore(after);
}
