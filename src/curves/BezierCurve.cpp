#include "curves/BezierCurve.h"

#include <algorithm>
#include <vector>

BezierCurve::BezierCurve(ControlPoints *controlPoints) : Curve(controlPoints, Schemes::Bezier)
{
    supportsDepthColour = true;
    usesPrecision = true;
    setU(0.5);
}

void BezierCurve::subdivide()
{
    limited = false;
    workLimited = false;
    work = 0;
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
        double longest; // maxEdgeLength(first, last), known from the split
    };
    const double t = std::clamp(u(), splitMin, splitMax);
    std::vector<Piece> pending{{first, last, depth, maxEdgeLength(first, last)}};
    while (!pending.empty()) {
        const Piece piece = pending.back();
        pending.pop_back();
        if (piece.longest <= precision || piece.depth > maxDepth)
            continue;
        if (std::uint64_t{result->count} + n - 1 > pointLimit) {
            limited = true;
            return;
        }
        // The de Casteljau rows of one split combine n (n - 1) / 2 points.
        const std::uint64_t cost = std::uint64_t{n} * (n - 1) / 2;
        if (work + cost > splitWorkBudget) {
            limited = workLimited = true;
            return;
        }
        work += cost;
        double leftLongest = 0.0, rightLongest = 0.0;
        Node<Point> *apex = splitOnce(piece.first, piece.last, n, piece.depth, t, leftLongest, rightLongest);
        reachedLevel = std::max(reachedLevel, piece.depth);
        pending.push_back({apex, piece.last, piece.depth + 1, rightLongest});
        pending.push_back({piece.first, apex, piece.depth + 1, leftLongest});
    }
}

Node<Point> *BezierCurve::splitOnce(Node<Point> *first, Node<Point> *last, std::uint32_t n, int depth, double t,
                                    double &leftLongest, double &rightLongest)
{
    // de Casteljau on a scratch row: row k is made from row k - 1 by
    // combining neighbours with weight t, and the first and last point of
    // every row form the two halves: first, ..., apex from the left ends,
    // apex, ..., last from the right. Between first and last the split
    // leaves 2n - 3 new points where n - 2 old ones stood; the old inner
    // points are no longer part of the curve, so their objects and nodes
    // take the first new values and only n - 1 points are added.
    //
    // The row keeps what combine() would: positions, and ghosts with their
    // flags only while some point of the piece has one. A point without a
    // ghost carries its position in the ghost row, which is what combine()
    // uses in its place, so the ghost row needs no flag tests.
    const double s = 1.0 - t;
    row.clear();
    rowGhosts.clear();
    rowFlags.clear();
    bool anyGhost = false;
    for (const Node<Point> *p = first;; p = p->next) {
        row.push_back(p->item->position);
        anyGhost = anyGhost || p->item->hasGhost;
        if (p == last)
            break;
    }
    if (anyGhost) {
        for (const Node<Point> *p = first;; p = p->next) {
            rowGhosts.push_back(p->item->hasGhost ? p->item->ghost : p->item->position);
            rowFlags.push_back(p->item->hasGhost);
            if (p == last)
                break;
        }
    }
    const std::uint32_t m = 2 * n - 1; // first, the two halves' inner points and apex, last
    halves.resize(m); // every slot is written below
    halfGhosts.resize(anyGhost ? m : 0);
    halfFlags.resize(anyGhost ? m : 0);
    auto keep = [&](std::uint32_t slot, std::uint32_t i) {
        halves[slot] = row[i];
        if (anyGhost) {
            halfGhosts[slot] = rowGhosts[i];
            halfFlags[slot] = rowFlags[i];
        }
    };
    keep(0, 0);
    keep(m - 1, n - 1);
    for (std::uint32_t k = 1; k < n; ++k) {
        for (std::uint32_t i = 0; i + k < n; ++i)
            row[i] = row[i] * t + row[i + 1] * s;
        if (anyGhost) {
            for (std::uint32_t i = 0; i + k < n; ++i) {
                rowGhosts[i] = rowGhosts[i] * t + rowGhosts[i + 1] * s;
                rowFlags[i] = rowFlags[i] || rowFlags[i + 1];
            }
        }
        keep(k, 0);
        keep(m - 1 - k, n - 1 - k);
    }
    // The halves' longest edges, as maxEdgeLength() would find them in the
    // list once these points are in it.
    leftLongest = rightLongest = 0.0;
    for (std::uint32_t i = 0; i + 1 < n; ++i)
        leftLongest = std::max(leftLongest, distance(halves[i], halves[i + 1]));
    for (std::uint32_t i = n - 1; i + 1 < m; ++i)
        rightLongest = std::max(rightLongest, distance(halves[i], halves[i + 1]));
    Node<Point> *node = first;
    Node<Point> *apex = nullptr;
    for (std::uint32_t i = 1; i + 1 < m; ++i) {
        Point value(halves[i]);
        if (anyGhost && halfFlags[i]) {
            value.hasGhost = true;
            value.ghost = halfGhosts[i];
        }
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
