#include "model/PolygonEditor.h"

#include "geometry/ControlPoints.h"
#include "geometry/ViewTransform.h"
#include "model/Scene.h"

#include <algorithm>
#include <utility>

PolygonEditor::PolygonEditor(Scene &scene) : scene(scene), polygon(scene.polygon()) {}

namespace {

// The nearest point to p that some view reaches. A press lands there
// anyway; a drag can pull the pointer far beyond the view, and a file
// would refuse a point out there.
Vector withinReach(const Vector &p)
{
    constexpr double r = ViewTransform::reach;
    return {std::clamp(p.x(), -r, r), std::clamp(p.y(), -r, r), p.z()};
}

} // namespace

bool PolygonEditor::append(const Vector &p)
{
    const bool appended = record("Append Point", [&] { return polygon.insertPoint(withinReach(p)); });
    appendBefore = appended ? std::exchange(stepBefore, nullptr) : nullptr;
    return appended;
}

bool PolygonEditor::withdrawAppend()
{
    if (!appendBefore)
        return false;
    const PolygonSnapshot::Shared appendedTo = lastSnapshot;
    if (currentPolygon() != appendedTo)
        return false;
    restore(std::exchange(appendBefore, nullptr)); // restore() would drop the one it is given
    return true;
}

const Point *PolygonEditor::split(const Vector &p)
{
    const Point *made = nullptr;
    record("Split Edge", [&] { return (made = polygon.insertMidpoint(p)) != nullptr; });
    return made;
}

bool PolygonEditor::remove(const Vector &p)
{
    // A drag whose release never came (a modal box took it) must not keep
    // pointing at the point deleted here.
    if (movingPoint && polygon.pickPoint(p) == movingPoint)
        movingPoint = nullptr;
    return record("Delete Point", [&] { return polygon.deletePoint(p); });
}

std::uint32_t PolygonEditor::removeSelected()
{
    if (movingPoint && movingPoint->selected)
        movingPoint = nullptr;
    std::uint32_t removed = 0;
    record("Delete Selected Points", [&] { return (removed = polygon.deleteSelected()) > 0; });
    return removed;
}

bool PolygonEditor::setPosition(std::size_t index, const Vector &p)
{
    if (index >= polygon.points.count)
        return false;
    Point *point = polygon.points.indexNode(static_cast<std::uint32_t>(index + 1))->item;
    return record("Edit Point", [&] {
        const Vector placed = withinReach(Vector(p.x(), p.y(), point->position.z()));
        if (placed == point->position)
            return false;
        point->position = placed;
        polygon.dirty = true;
        return true;
    });
}

bool PolygonEditor::removeAll()
{
    scene.clearCurves();
    // A drag under way loses its point: later moves must not touch it.
    movingPoint = nullptr;
    return record("Delete Control Points", [this] {
        if (polygon.points.count == 0)
            return false;
        polygon.clear();
        return true;
    });
}

bool PolygonEditor::setClosed(bool closed)
{
    const bool changed = record(polygon.closed ? "Open Polygon" : "Close Polygon", [&] {
        const bool before = polygon.closed;
        polygon.closed = closed;
        return before != closed;
    });
    scene.markChanged();
    return changed;
}

Point *PolygonEditor::beginDrag(const Vector &p)
{
    // A second drag before the first one's end: the first point must not
    // keep its ghost for ever, and the first drag is a step of its own.
    if (movingPoint)
        movingPoint->hasGhost = false;
    commitDrag();
    movingPoint = polygon.pickPoint(p);
    if (movingPoint) {
        movingPoint->ghost = movingPoint->position;
        dragFree = movingPoint->position;
        dragStart = currentPolygon();
    }
    return movingPoint;
}

void PolygonEditor::dragBy(double dx, double dy, const Lattice &lattice)
{
    if (!movingPoint)
        return;
    // The point follows the pointer's movement, so it keeps the offset from
    // the pointer that it had when it was grabbed; a lattice only moves it
    // from there to its nearest point, which the next move starts again
    // from the free position.
    movingPoint->hasGhost = true;
    dragFree = withinReach(dragFree + Vector(dx, dy, 0.0));
    movingPoint->position = withinReach(lattice.nearest(dragFree));
    scene.markChanged();
}

void PolygonEditor::endDrag()
{
    if (movingPoint) {
        movingPoint->hasGhost = false;
        movingPoint = nullptr;
    }
    commitDrag();
}

void PolygonEditor::commitDrag()
{
    if (!dragStart)
        return;
    const PolygonSnapshot::Shared before = std::exchange(dragStart, nullptr);
    const PolygonSnapshot::Shared after = currentPolygon();
    if (after != before && edited)
        edited(before, after, "Move Point");
    if (movingPoint)
        dragStart = after;
}

bool PolygonEditor::record(const std::string &step, const std::function<bool()> &edit)
{
    appendBefore = nullptr; // only the append itself keeps it
    commitDrag();
    const PolygonSnapshot::Shared before = currentPolygon();
    const bool changed = edit();
    const PolygonSnapshot::Shared after = currentPolygon();
    stepBefore = changed && after != before ? before : nullptr;
    if (stepBefore && edited)
        edited(before, after, step);
    // The step above ended the drag's step; a drag whose point is still
    // there goes on from the polygon as the edit left it.
    dragStart = movingPoint ? after : nullptr;
    return changed;
}

PolygonSnapshot::Shared PolygonEditor::currentPolygon()
{
    PolygonSnapshot now;
    now.points.reserve(polygon.points.count);
    for (const Node<Point> *n = polygon.points.head; n; n = n->next)
        now.points.push_back(n->item->position);
    now.closed = polygon.closed;
    // Comparing costs as much as the copy just made, but keeps one copy per
    // step in the history instead of two.
    if (!lastSnapshot || *lastSnapshot != now)
        lastSnapshot = std::make_shared<const PolygonSnapshot>(std::move(now));
    return lastSnapshot;
}

void PolygonEditor::restore(const PolygonSnapshot::Shared &snapshot)
{
    // The points of a drag under way are about to be freed.
    movingPoint = nullptr;
    dragStart = nullptr;
    appendBefore = nullptr;
    scene.replacePolygon(snapshot->points, snapshot->closed);
    lastSnapshot = snapshot;
}
