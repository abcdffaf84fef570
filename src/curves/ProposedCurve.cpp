#include "curves/ProposedCurve.h"

ProposedCurve::ProposedCurve(ControlPoints *controlPoints) : Curve(controlPoints)
{
    usesLevel = true;
    closedOnly = true;
    setU(0.5);
}

void ProposedCurve::setU(double value)
{
    Curve::setU(value);
    halfU = value * 0.5;
}

void ProposedCurve::draw()
{
    drawClosed();
}

void ProposedCurve::subdivide()
{
    // No triangles to sum here: the difference is taken between the
    // polygon and the final loop, so that the read-out's final area is the
    // curve's own.
    const double polygonArea = result ? fanArea(*result) : 0.0;
    if (refineClosed(3, [this] { refine(); }))
        deltaArea = polygonArea - fanArea(*result);
}

void ProposedCurve::refine()
{
    // As in the B-spline pass, neighbours are taken from the start of the
    // pass: the wrap-around ones and each vertex before it moves are copied.
    const std::uint32_t n = result->count;
    const Point firstCopy = *result->head->item;
    Point before = *result->tail->item;
    const double w = u();
    const double side = (1.0 - w) / 2.0;
    Node<Point> *node = result->head;
    for (std::uint32_t j = 1; j <= n; ++j) {
        Node<Point> *next = node->next;
        Point &p = *node->item;
        const Point &after = j == n ? firstCopy : *next->item;
        // A and B are intermediate only; their ghosts are the midpoints of
        // the ghosts, which moves the vertex's ghost by the same stencil.
        Point a, b;
        combineInto(a, p, before, 0.5);
        combineInto(b, p, after, 0.5);
        Point *e = makeCombined(a, p, halfU);
        Point *h = makeCombined(b, p, halfU);
        const Vector moved = p.position * w + (a.position + b.position) * side;
        const bool ghosted = a.hasGhost || b.hasGhost;
        const Vector movedGhost = ghosted ? ghostOf(p) * w + (ghostOf(a) + ghostOf(b)) * side : Vector();
        before = p; // the next vertex's neighbour, as it stood at the start of the pass
        p.position = moved;
        if (ghosted) {
            p.ghost = movedGhost;
            p.hasGhost = true;
        }
        insertBefore(node, e);
        insertAfter(node, h);
        node = next;
    }
}
