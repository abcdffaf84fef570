#include "render/CurveVertices.h"

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

namespace {

Canvas::Vertices verticesOf(const std::vector<float> &xy, const std::vector<float> *rgb = nullptr)
{
    return {xy.data(), xy.size() / 2, 1, rgb ? rgb->data() : nullptr};
}

} // namespace

void CurveVertices::draw(Canvas &canvas, Canvas::Shape shape, bool ghost, std::size_t vertexCount, std::size_t stride,
                         bool shaded) const
{
    if (vertexCount == 0)
        return;
    const std::vector<float> &source = ghost && !ghosts.empty() ? ghosts : positions;
    canvas.draw(shape,
                {source.data(), vertexCount, stride, shaded ? greys.data() : nullptr});
}

void CurveVertices::drawSimplified(Canvas &canvas, Canvas::Shape shape, bool ghost) const
{
    const std::vector<float> &source = ghost && simplifiedGhosts ? ghostShape.vertices() : this->shape.vertices();
    if (!source.empty())
        canvas.draw(shape, verticesOf(source));
}

void CurveVertices::drawLoop(Canvas &canvas, bool ghost, bool repeat) const
{
    if (simplifiedShown)
        return drawSimplified(canvas, Canvas::Shape::Loop, ghost);
    if (repeat)
        draw(canvas, Canvas::Shape::Loop, ghost, 2 * pointCount, 1);
    else
        draw(canvas, Canvas::Shape::Loop, ghost, pointCount, 2); // same pixels, no empty segments
}

void CurveVertices::drawPolyline(Canvas &canvas, bool ghost, bool repeat) const
{
    if (simplifiedShown)
        return drawSimplified(canvas, Canvas::Shape::Strip, ghost);
    if (repeat)
        draw(canvas, Canvas::Shape::Pairs, ghost, pointCount > 0 ? 2 * pointCount - 2 : 0, 1);
    else
        draw(canvas, Canvas::Shape::Strip, ghost, pointCount, 2);
}

void CurveVertices::drawShaded(Canvas &canvas, bool repeat) const
{
    if (simplifiedShown) {
        if (!shape.vertices().empty() && !shapeGreys.empty())
            canvas.draw(Canvas::Shape::Strip, verticesOf(shape.vertices(), &shapeGreys));
        return;
    }
    if (pointCount < 2 || greys.empty())
        return;
    if (repeat)
        draw(canvas, Canvas::Shape::Pairs, false, 2 * pointCount - 2, 1, true);
    else
        draw(canvas, Canvas::Shape::Strip, false, pointCount, 2, true);
}

void CurveVertices::drawPoints(Canvas &canvas) const
{
    if (simplifiedShown) {
        if (!shape.dots().empty())
            canvas.draw(Canvas::Shape::Squares, verticesOf(shape.dots()));
        return;
    }
    draw(canvas, Canvas::Shape::Squares, false, pointCount, 2);
}
