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
    return record("Append Point", [&] { return polygon.insertPoint(withinReach(p)); });
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
        dragStart = currentPolygon();
    }
    return movingPoint;
}

void PolygonEditor::dragBy(double dx, double dy)
{
    if (!movingPoint)
        return;
    // The point follows the pointer's movement, so it keeps the offset from
    // the pointer that it had when it was grabbed.
    movingPoint->hasGhost = true;
    movingPoint->position = withinReach(movingPoint->position + Vector(dx, dy, 0.0));
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
    commitDrag();
    const PolygonSnapshot::Shared before = currentPolygon();
    const bool changed = edit();
    const PolygonSnapshot::Shared after = currentPolygon();
    if (changed && after != before && edited)
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
    scene.replacePolygon(snapshot->points, snapshot->closed);
    lastSnapshot = snapshot;
}
