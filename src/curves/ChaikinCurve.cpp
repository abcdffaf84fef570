#include "curves/ChaikinCurve.h"

ChaikinCurve::ChaikinCurve(ControlPoints *controlPoints) : Curve(controlPoints)
{
    usesLevel = true;
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
    // replaced corner before this one stays alive until its successor has
    // used it, and the first corner until the last one has.
    const std::uint32_t n = result->count;
    Point *first = result->head->item;
    Point *before = result->tail->item;
    Node<Point> *node = result->head;
    for (std::uint32_t j = 1; j <= n; ++j) {
        Node<Point> *next = node->next;
        Point *corner = node->item;
        const Point &after = j == n ? *first : *next->item;
        Point *a = makeCombined(*corner, *before, u());
        Point *b = makeCombined(*corner, after, u());
        deltaArea += corner->signedArea(*a, *b);
        insertBefore(node, a);
        insertAfter(node, b);
        result->removeNode(node);
        if (j >= 3)
            releasePoint(before); // corner j - 1 is no neighbour of anything left
        before = corner;
        node = next;
    }
    releasePoint(before); // the last corner
    releasePoint(first);
}
