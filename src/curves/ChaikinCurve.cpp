#include "curves/ChaikinCurve.h"

ChaikinCurve::ChaikinCurve(ControlPoints *controlPoints) : Curve(controlPoints)
{
    usesLevel = true;
    closedOnly = true;
    setU(0.75);
}

void ChaikinCurve::draw()
{
    drawClosed();
}

void ChaikinCurve::subdivide()
{
    refineClosed(2, [this] { cutCorners(); });
}

void ChaikinCurve::cutCorners()
{
    // Every neighbour is taken as it stood at the start of the pass: the
    // corner before this one and the first corner are kept as copies. A
    // corner is no part of the new polygon, so its object and node take A,
    // the point that replaces it on the side of the corner before, and only
    // B is added: the list becomes A1, B1, A2, B2, ..., An, Bn.
    const std::uint32_t n = result->count;
    const Point first = *result->head->item;
    Point before = *result->tail->item;
    Node<Point> *node = result->head;
    for (std::uint32_t j = 1; j <= n; ++j) {
        Node<Point> *next = node->next;
        Point &corner = *node->item;
        const Point &after = j == n ? first : *next->item;
        Point a;
        combineInto(a, corner, before, u());
        Point *b = makeCombined(corner, after, u());
        deltaArea += corner.signedArea(a, *b);
        before = corner;
        corner = a;
        insertAfter(node, b);
        node = next;
    }
}
