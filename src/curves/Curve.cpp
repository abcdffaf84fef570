#include "curves/Curve.h"

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

Curve::Drawer installedDrawer = nullptr;

} // namespace

Curve::Curve(ControlPoints *controlPoints, Schemes::Id scheme) : controlPoints(controlPoints), id(scheme) {}

void Curve::setDrawer(Drawer drawer)
{
    installedDrawer = drawer;
}

void Curve::draw()
{
    if (installedDrawer)
        installedDrawer(*this);
}

Curve::~Curve()
{
    clearResult();
}

void Curve::render()
{
    if (!controlPoints || controlPoints->points.count <= 2)
        return;
    refresh();
    draw();
}

bool Curve::refresh()
{
    if (!controlPoints || controlPoints->points.count <= 2 || !controlPoints->dirty)
        return false;
    rebuildResult();
    subdivideCopies();
    return true;
}

void Curve::resubdivide()
{
    if (!controlPoints || controlPoints->points.count <= 2)
        return;
    copyControlPoints();
    subdivideCopies();
}

void Curve::subdivideCopies()
{
    subdivide();
    const bool nodesFreed = result->trimStorage();
    if (points.trim() || nodesFreed)
        returnFreedMemory();
}

bool Curve::drawsCurve() const
{
    return controlPoints && controlPoints->points.count > 2 && result && (controlPoints->closed || !closedOnly);
}

void Curve::clearResult()
{
    if (!result)
        return;
    points.clear();
    points.trim();
    delete result; // the list frees its nodes
    result = nullptr;
    drawingCache.reset();
    ++version;
    returnFreedMemory();
}

void Curve::returnFreedMemory()
{
    // glibc keeps freed blocks in its heap for the next allocations unless
    // they were mapped on their own, which its adaptive threshold stops
    // doing for blocks of the pools' size once one was freed; without this
    // a curve that shrank would hold the memory of the largest one.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

bool Curve::keepsCappedResult(int newLevel) const
{
    return result && usesLevel && limited && newLevel >= reachedLevel;
}

void Curve::rebuildResult()
{
    if (!controlPoints || !controlPoints->dirty)
        return;
    copyControlPoints();
    controlPoints->dirty = false;
}

void Curve::copyControlPoints()
{
    if (result)
        result->releaseNodes();
    else
        result = new List<Point>;
    points.clear();
    for (const Node<Point> *n = controlPoints->points.head; n; n = n->next) {
        result->append(makePoint(*n->item), 0); // reports a missing point itself
    }
    ++version;
}

// The point budget's figures (pointBudget in Curve.h), measured with
// scripts/bench.sh on a 2-core machine under Mesa's software OpenGL, for a
// 6-point polygon at the budget: a drag step costs 37 to 40 ns per point
// (subdivision 20 to 25 ns, the rest the simplified layout and drawing;
// the slowest scheme per point is the cubic B-spline), and the program
// grows by 87 bytes per point (a Point of 64 bytes then, its node of 24)
// over about 145 MB for the window, Qt and the renderer. With some
// margin, 40 ns, 90 bytes and 160 MB: 300 ms allow 7.5 million points,
// 700 MB allow 6.29 million, so memory sets the budget. The figures are
// upper bounds now: a Point holds 56 bytes (80 per point with its node),
// and the closed schemes subdivide at 8 to 10 ns per point.

bool Curve::refineClosed(std::uint32_t growth, const std::function<void(int passes)> &refine)
{
    if (!result || result->count < 3 || !controlPoints || !controlPoints->closed)
        return false;
    deltaArea = 0.0;
    // Every level that fits is run exactly; the first that would not fit
    // is where the subdivision stops.
    const int wanted = std::max(level, 0);
    std::uint64_t size = result->count;
    int passes = 0;
    while (passes < wanted && size * growth <= pointLimit) {
        size *= growth;
        ++passes;
    }
    limited = passes < wanted;
    reachedLevel = passes;
    refine(passes);
    return true;
}
