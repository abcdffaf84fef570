#include "curves/BSplineCurve.h"

namespace {

Vector vertexRule(const Vector &before, const Vector &p, const Vector &after)
{
    return before * 0.125 + p * 0.75 + after * 0.125;
}

} // namespace

BSplineCurve::BSplineCurve(ControlPoints *controlPoints) : Curve(controlPoints)
{
    usesLevel = true;
    closedOnly = true;
    setU(0.5);
}

void BSplineCurve::draw()
{
    drawClosed();
}

void BSplineCurve::subdivide()
{
    // The triangles between successive polygons add up to the removed
    // area only when edge points sit at edge midpoints (u = 0.5), so the
    // difference is taken between the polygon and the final loop.
    const double polygonArea = result ? fanArea(*result) : 0.0;
    if (refineClosed(2, [this] { refine(); }))
        deltaArea = polygonArea - fanArea(*result);
}

void BSplineCurve::refine()
{
    // Vertices move in place, so the wrap-around neighbours (the first
    // vertex for the last, the last vertex for the first) and each vertex
    // before it moves are kept as copies from the start of the pass.
    const std::uint32_t n = result->count;
    const Point firstCopy = *result->head->item;
    Point before = *result->tail->item;
    Node<Point> *node = result->head;
    for (std::uint32_t j = 1; j <= n; ++j) {
        Node<Point> *next = node->next;
        Point &p = *node->item;
        const Point &after = j == n ? firstCopy : *next->item;
        Point *edge = makeCombined(p, after, u());
        const Vector moved = vertexRule(before.position, p.position, after.position);
        const bool ghosted = before.hasGhost || p.hasGhost || after.hasGhost;
        const Vector movedGhost = ghosted ? vertexRule(ghostOf(before), ghostOf(p), ghostOf(after)) : Vector();
        before = p; // the next vertex's neighbour, as it stood at the start of the pass
        p.position = moved;
        if (ghosted) {
            p.ghost = movedGhost;
            p.hasGhost = true;
        }
        insertAfter(node, edge);
        node = next;
    }
}
