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
    setU(0.5);
}

void BSplineCurve::draw()
{
    drawClosed();
}

void BSplineCurve::subdivide()
{
    refineClosed(2, [this] { refine(); });
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
        // Triangle of the moved vertex and its two new neighbours: the edge
        // point of the previous step and this one; vertex 1 is closed off
        // once its left neighbour, the last edge point, exists.
        if (j >= 2)
            deltaArea += p.signedArea(*node->prev->item, *edge);
        if (j == n)
            deltaArea += result->head->item->signedArea(*edge, *result->head->next->item);
        insertAfter(node, edge);
        node = next;
    }
}
