#include "curves/BezierCurve.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

BezierCurve::BezierCurve(ControlPoints *controlPoints) : Curve(controlPoints)
{
    supportsDepthColour = true;
    usesPrecision = true;
    setU(0.5);
}

void BezierCurve::subdivide()
{
    limited = false;
    reachedLevel = 0;
    if (!result || !result->head)
        return;
    const bool closed = controlPoints && controlPoints->closed;
    const double polygonArea = closed ? fanArea(*result) : 0.0;
    if (closed && controlPoints->points.head)
        result->append(makePoint(*controlPoints->points.head->item), 0);
    splitPiece(result->head, result->tail, result->count, 1);
    // The repeated first point adds only a degenerate triangle to the fan.
    deltaArea = closed ? polygonArea - fanArea(*result) : 0.0;
}

double BezierCurve::maxEdgeLength(const Node<Point> *first, const Node<Point> *last)
{
    double longest = 0.0;
    for (const Node<Point> *p = first; p && p != last; p = p->next)
        longest = std::max(longest, distance(p->item->position, p->next->item->position));
    return longest;
}

void BezierCurve::splitPiece(Node<Point> *first, Node<Point> *last, std::uint32_t n, int depth)
{
    // An explicit stack instead of recursion: with a split parameter near 0
    // or 1 one side keeps almost all of its range and may need hundreds of
    // successive splits. The right half is pushed first so the left half is
    // finished before it, keeping result in curve order. The end nodes of
    // a pending piece survive the work on the pieces before it, which only
    // touches nodes strictly inside those pieces.
    struct Piece
    {
        Node<Point> *first;
        Node<Point> *last;
        int depth;
    };
    const double t = std::clamp(u(), splitMin, splitMax);
    std::vector<Piece> pending{{first, last, depth}};
    while (!pending.empty()) {
        const Piece piece = pending.back();
        pending.pop_back();
        if (maxEdgeLength(piece.first, piece.last) <= precision)
            continue;
        if (std::uint64_t{result->count} + n - 1 > pointBudget) {
            limited = true;
            return;
        }
        Node<Point> *apex = splitOnce(piece.first, piece.last, n, piece.depth, t);
        reachedLevel = std::max(reachedLevel, piece.depth);
        pending.push_back({apex, piece.last, piece.depth + 1});
        pending.push_back({piece.first, apex, piece.depth + 1});
    }
}

Node<Point> *BezierCurve::splitOnce(Node<Point> *first, Node<Point> *last, std::uint32_t n, int depth, double t)
{
    // de Casteljau in place: each pass inserts the next row between the
    // points of the previous one and drops the inner points of that row.
    // The outermost points of every row stay and form the two halves:
    // first, ..., apex from the left ends, apex, ..., last from the right.
    Node<Point> *left = first;
    Node<Point> *right = last;
    for (std::uint32_t pass = 1; pass < n; ++pass) {
        for (Node<Point> *p = left; p != right;) {
            Node<Point> *q = p->next;
            Point *m = makeCombined(*p->item, *q->item, t);
            m->level = depth;
            insertAfter(p, m);
            if (p != left) {
                releasePoint(p->item);
                result->removeNode(p);
            }
            p = q;
        }
        left = left->next;
        right = right->prev;
    }
    return left;
}

void BezierCurve::draw()
{
    if (!result)
        return;
    beginFrame();
    const float width = depthColour ? 5.0f : 3.0f;
    glLineWidth(width);
    glColor3d(0.6, 0.6, 0.6);
    drawPairs(true, false);
    glLineWidth(width);
    glColor3f(0.65f, 0.53f, 1.0f);
    drawPairs(false, false);
    if (depthColour) {
        glLineWidth(3.0f);
        drawPairs(false, true);
    }
    glLineWidth(1.0f);
    drawCurvePoints();
    endFrame();
}

void BezierCurve::drawPairs(bool ghosts, bool shaded)
{
    // One GL_LINES pair per edge of the open polyline; no closing edge.
    auto emit = [&](const Point &p) {
        if (shaded) {
            // Control point copies white, each split depth a tenth darker,
            // black from depth 10 on.
            const double g = std::max(0.0, 1.0 - 0.1 * p.level);
            glColor3f(static_cast<float>(g), static_cast<float>(g), static_cast<float>(g));
        }
        const Vector &v = ghosts ? ghostOf(p) : p.position;
        glVertex2d(v.x(), v.y());
    };
    glBegin(GL_LINES);
    for (const Node<Point> *n = result->head; n && n != result->tail; n = n->next) {
        emit(*n->item);
        emit(*n->next->item);
    }
    glEnd();
}
