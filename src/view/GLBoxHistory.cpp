#include "GLBox.h"

#include "curves/Curve.h"
#include "geometry/ControlPoints.h"

#include <utility>

PolygonSnapshot::Shared GLBox::currentPolygon()
{
    PolygonSnapshot now;
    now.points.reserve(controlPoints->points.count);
    for (const Node<Point> *n = controlPoints->points.head; n; n = n->next)
        now.points.push_back(n->item->position);
    now.closed = controlPoints->closed;
    // Comparing costs as much as the copy just made, but keeps one copy per
    // step in the history instead of two.
    if (!lastSnapshot || *lastSnapshot != now)
        lastSnapshot = std::make_shared<const PolygonSnapshot>(std::move(now));
    return lastSnapshot;
}

void GLBox::commitDrag()
{
    if (!dragStart)
        return;
    const PolygonSnapshot::Shared before = std::exchange(dragStart, nullptr);
    const PolygonSnapshot::Shared after = currentPolygon();
    if (after != before)
        emit polygonEdited(before, after, tr("Move Point"));
    if (movingPoint)
        dragStart = after;
}

bool GLBox::recordEdit(const QString &step, const std::function<bool()> &edit)
{
    commitDrag();
    const PolygonSnapshot::Shared before = currentPolygon();
    const bool changed = edit();
    const PolygonSnapshot::Shared after = currentPolygon();
    if (changed && after != before)
        emit polygonEdited(before, after, step);
    // The step above ended the drag's step; a drag whose point is still
    // there goes on from the polygon as the edit left it.
    dragStart = movingPoint ? after : nullptr;
    return changed;
}

void GLBox::restorePolygon(const PolygonSnapshot::Shared &polygon)
{
    // The points of a drag under way are about to be freed.
    movingPoint = nullptr;
    mouseMode = None;
    dragStart = nullptr;
    for (Node<Curve> *n = curves.head; n; n = n->next)
        n->item->clearResult();
    controlPoints->clear();
    for (const Vector &p : polygon->points)
        controlPoints->insertPoint(p);
    controlPoints->closed = polygon->closed;
    controlPoints->dirty = true;
    lastSnapshot = polygon;
    // A limit reached by the old polygon says nothing about this one.
    shownLimit = {};
    updateGL();
}
