#include "curves/CurveVertices.h"

#include "geometry/DrawStyle.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

void put(std::vector<float> &out, std::size_t vertex, const Vector &v)
{
    // The same single-precision rounding glVertex2d applies.
    out[2 * vertex] = static_cast<float>(v.x());
    out[2 * vertex + 1] = static_cast<float>(v.y());
}

float greyOf(const Point &p)
{
    // Control point copies white, each split depth a tenth darker, black
    // from depth 10 on.
    return static_cast<float>(std::max(0.0, 1.0 - 0.1 * p.level));
}

} // namespace

void CurveVertices::release()
{
    releaseFull();
    shape.release();
    ghostShape.release();
    shapeGreys = {};
    simplifiedShades = simplifiedDots = simplifiedGhosts = simplifiedShown = false;
}

void CurveVertices::releaseFull()
{
    positions = {};
    ghosts = {};
    greys = {};
    pointCount = 0;
}

void CurveVertices::fill(const List<Point> &points, bool shades)
{
    // A curve much smaller than the last one should not keep its memory.
    if (positions.capacity() > 4 * (4 * std::size_t{points.count} + 64))
        releaseFull();
    pointCount = points.count;
    const std::size_t vertices = 2 * pointCount;
    positions.resize(2 * vertices);
    bool anyGhost = false;
    for (const Node<Point> *n = points.head; n; n = n->next)
        anyGhost = anyGhost || n->item->hasGhost;
    ghosts.resize(anyGhost ? 2 * vertices : 0);
    greys.resize(shades ? 3 * vertices : 0);

    // Point k (0-based) is vertex 2k - 1 and vertex 2k; point 0 is vertex 0
    // and the closing vertex 2n - 1.
    std::size_t k = 0;
    for (const Node<Point> *n = points.head; n; n = n->next, ++k) {
        const Point &p = *n->item;
        const std::size_t first = k == 0 ? 0 : 2 * k - 1;
        const std::size_t second = k == 0 ? vertices - 1 : 2 * k;
        for (std::size_t v : {first, second}) {
            put(positions, v, p.position);
            if (anyGhost)
                put(ghosts, v, p.hasGhost ? p.ghost : p.position);
            if (shades)
                std::fill_n(greys.begin() + static_cast<std::ptrdiff_t>(3 * v), 3, greyOf(p));
        }
    }
}

void CurveVertices::fillSimplified(const List<Point> &points, bool shades, bool closed, double tolerance, bool dots)
{
    bool anyGhost = false;
    shape.begin(tolerance, shades, dots);
    for (const Node<Point> *n = points.head; n; n = n->next) {
        const Point &p = *n->item;
        anyGhost = anyGhost || p.hasGhost;
        shape.add(p.position.x(), p.position.y(), shades ? greyOf(p) : 0.0f);
    }
    shape.finish(closed);
    // The ghost is a polyline of its own: during a drag it runs elsewhere.
    ghostShape.begin(tolerance, false, false);
    if (anyGhost) {
        for (const Node<Point> *n = points.head; n; n = n->next) {
            const Vector &g = n->item->hasGhost ? n->item->ghost : n->item->position;
            ghostShape.add(g.x(), g.y());
        }
        ghostShape.finish(closed);
    }
    shapeGreys.clear();
    for (float grey : shape.greys())
        shapeGreys.insert(shapeGreys.end(), 3, grey);
    simplifiedShades = shades;
    simplifiedDots = dots;
    simplifiedGhosts = anyGhost;
}

void CurveVertices::drawSimplified(unsigned mode, bool ghost, bool shaded) const
{
    const std::vector<float> &source = mode == GL_POINTS            ? shape.dots()
                                       : ghost && simplifiedGhosts ? ghostShape.vertices()
                                                                   : shape.vertices();
    if (source.empty() || (shaded && shapeGreys.empty()))
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, source.data());
    if (shaded) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, 0, shapeGreys.data());
    }
    glDrawArrays(mode, 0, static_cast<GLsizei>(source.size() / 2));
    if (shaded)
        glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void CurveVertices::draw(unsigned mode, bool ghost, std::size_t vertexCount, int stride) const
{
    if (vertexCount == 0)
        return;
    const std::vector<float> &source = ghost && !ghosts.empty() ? ghosts : positions;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, static_cast<GLsizei>(stride * 2 * sizeof(float)), source.data());
    glDrawArrays(mode, 0, static_cast<GLsizei>(vertexCount));
    glDisableClientState(GL_VERTEX_ARRAY);
}

void CurveVertices::drawLoop(bool ghost) const
{
    if (simplifiedShown)
        return drawSimplified(GL_LINE_LOOP, ghost, false);
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    if (renderMode == GL_RENDER || DrawStyle::current().printPage)
        draw(GL_LINE_LOOP, ghost, pointCount, 2); // same pixels, no empty segments
    else
        draw(GL_LINE_LOOP, ghost, 2 * pointCount);
}

void CurveVertices::drawPairs(bool ghost) const
{
    if (simplifiedShown)
        return drawSimplified(GL_LINE_STRIP, ghost, false);
    draw(GL_LINES, ghost, pointCount > 0 ? 2 * pointCount - 2 : 0);
}

void CurveVertices::drawShadedPairs() const
{
    if (simplifiedShown)
        return drawSimplified(GL_LINE_STRIP, false, true);
    if (pointCount < 2 || greys.empty())
        return;
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, 0, greys.data());
    draw(GL_LINES, false, 2 * pointCount - 2);
    glDisableClientState(GL_COLOR_ARRAY);
}

void CurveVertices::drawPoints() const
{
    if (simplifiedShown)
        return drawSimplified(GL_POINTS, false, false);
    draw(GL_POINTS, false, pointCount, 2);
}
