#include "curves/Curve.h"

#include "geometry/DrawStyle.h"

#include <GL/gl.h>

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

Curve::Curve(ControlPoints *controlPoints) : controlPoints(controlPoints) {}

Curve::~Curve()
{
    clearResult();
}

void Curve::render()
{
    if (!controlPoints || controlPoints->points.count <= 2)
        return;
    if (controlPoints->dirty) {
        rebuildResult();
        subdivideCopies();
    }
    draw();
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

void Curve::drawOutline(float width)
{
    if (!drawsCurve())
        return;
    const CurveVertices &shape = layout(false);
    beginFrame();
    DrawStyle::lineWidth(width);
    if (drawnOpen)
        shape.drawPairs(false);
    else
        shape.drawLoop(false);
    DrawStyle::lineWidth(1.0f);
    endFrame();
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
    vertices.release();
    verticesStale = simplifiedStale = true;
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
    verticesStale = simplifiedStale = true;
}

void Curve::beginFrame()
{
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Curve::endFrame()
{
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
}

void Curve::drawClosed()
{
    if (!controlPoints || !controlPoints->closed || !result)
        return;
    beginFrame();
    drawGhost();
    drawCurve();
    endFrame();
}

void Curve::drawGhost()
{
    // Without a drag the ghost coincides with the curve and hides under it;
    // during a drag it shows the curve as it was before. A page has no
    // "under": there it would be written as a second copy of the curve.
    const CurveVertices &vertices = layout(false);
    if (DrawStyle::current().printPage && !vertices.hasGhosts())
        return;
    DrawStyle::lineWidth(3.0f);
    glColor3d(0.6, 0.6, 0.6);
    vertices.drawLoop(true);
}

void Curve::drawCurve()
{
    DrawStyle::lineWidth(3.0f);
    glColor3f(0.65f, 0.53f, 1.0f);
    layout(false).drawLoop(false);
    DrawStyle::lineWidth(1.0f);
    drawCurvePoints();
}

void Curve::drawCurvePoints()
{
    if (!curvePoints)
        return;
    DrawStyle::pointSize(2.0f);
    if (DrawStyle::current().printColours)
        glColor3d(0.15, 0.15, 0.15);
    else
        glColor3d(1.0, 1.0, 1.0);
    layout(false).drawPoints();
}

const CurveVertices &Curve::layout(bool shades)
{
    // On screen the view's scale sets the tolerance; in feedback mode the
    // export's, if it asked for one. The simplified arrays are redone when
    // the tolerance changes (a resize, or an export between two paints).
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    const double tolerance = renderMode == GL_RENDER ? displayScale * displayTolerance
                             : printsSimplified()    ? printTolerance
                                                     : 0.0;
    if (tolerance > 0) {
        if (simplifiedStale || tolerance != simplifiedTolerance || (shades && !vertices.hasSimplifiedShades()) ||
            (curvePoints && !vertices.hasSimplifiedDots())) {
            vertices.fillSimplified(*result, shades, !drawnOpen, tolerance, curvePoints);
            simplifiedTolerance = tolerance;
            simplifiedStale = false;
            if (!verticesStale) {
                // The full arrays are only laid out for feedback mode:
                // a result that is drawn simplified does not keep them.
                vertices.releaseFull();
                verticesStale = true;
            }
        }
    } else if (verticesStale || (shades && !vertices.hasShades())) {
        vertices.fill(*result, shades);
        verticesStale = false;
    }
    vertices.showSimplified(tolerance > 0);
    return vertices;
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
