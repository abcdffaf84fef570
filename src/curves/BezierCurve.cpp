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
    // de Casteljau on a scratch row: row k is made from row k - 1 by
    // combining neighbours with weight t, and the first and last point of
    // every row form the two halves: first, ..., apex from the left ends,
    // apex, ..., last from the right. Between first and last the split
    // leaves 2n - 3 new points where n - 2 old ones stood; the old inner
    // points are no longer part of the curve, so their objects and nodes
    // take the first new values and only n - 1 points are added.
    row.clear();
    for (const Node<Point> *p = first;; p = p->next) {
        row.push_back(*p->item);
        if (p == last)
            break;
    }
    halves.resize(2 * n - 1); // every slot is written below
    halves.front() = row.front();
    halves.back() = row.back();
    for (std::uint32_t k = 1; k < n; ++k) {
        for (std::uint32_t i = 0; i + k < n; ++i)
            combineInto(row[i], row[i], row[i + 1], t);
        halves[k] = row.front();
        halves[2 * n - 2 - k] = row[n - 1 - k];
    }
    Node<Point> *node = first;
    Node<Point> *apex = nullptr;
    for (std::uint32_t i = 1; i + 1 < 2 * n - 1; ++i) {
        Point &value = halves[i];
        value.level = depth;
        if (node->next != last) {
            node = node->next;
            *node->item = value;
        } else {
            insertAfter(node, makePoint(value));
            node = node->next;
        }
        if (i == n - 1)
            apex = node;
    }
    return apex;
}

void BezierCurve::draw()
{
    if (!result)
        return;
    const CurveVertices &vertices = layout(depthColour);
    beginFrame();
    const float width = depthColour ? 5.0f : 3.0f;
    glLineWidth(width);
    glColor3d(0.6, 0.6, 0.6);
    vertices.drawPairs(true);
    glLineWidth(width);
    glColor3f(0.65f, 0.53f, 1.0f);
    vertices.drawPairs(false);
    if (depthColour) {
        // A grey core shaded by split depth over the wide coloured line.
        glLineWidth(3.0f);
        vertices.drawShadedPairs();
    }
    glLineWidth(1.0f);
    drawCurvePoints();
    endFrame();
}
