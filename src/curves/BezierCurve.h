#pragma once

#include "curves/Curve.h"

#include <limits>
#include <vector>

// The Bezier curve of the control polygon (closed: the first point repeated
// at the end), refined adaptively by de Casteljau splits until no edge of
// any piece is longer than precision. Every generated point records in its
// level the split depth that made it; depthColour shades the curve by it.
class BezierCurve : public Curve
{
public:
    // Split parameters are kept inside [splitMin, splitMax] so that every
    // split shrinks both halves and the splitting ends; u() itself keeps
    // whatever the view stored.
    static constexpr double splitMin = 0.01;
    static constexpr double splitMax = 0.99;

    explicit BezierCurve(ControlPoints *controlPoints);

    // Deepest split depth made: a piece that reached it is left as it is,
    // however long its edges. Unlimited by default; with precision 0 and
    // maxDepth d every piece is split exactly d times (a uniform split).
    int maxDepth = std::numeric_limits<int>::max();

    // Most point combinations one subdivision may compute: a split of a
    // piece of n points takes n (n - 1) / 2, so the work grows with the
    // square of the control points. About 60 ms on a slow machine (see
    // BezierCurve.cpp): a polygon of thousands of points is split a few
    // times, one of 100,000 (a blob of a curve anyway) not at all.
    static constexpr std::uint64_t splitWorkBudget = std::uint64_t{1} << 25;
    // The last subdivision stopped short because of splitWorkBudget (it
    // is then limited too).
    bool workLimited = false;

    // Splits result until fine enough (or pointLimit or splitWorkBudget
    // is reached, which sets limited). deltaArea becomes the closed
    // polygon's area minus the area of the final sequence; 0 for an open
    // polygon.
    void subdivide() override;

    // Splits the piece of n points from first to last (nodes of result)
    // until every edge is at most precision (or maxDepth is reached); points made by the first
    // split get level depth, deeper splits depth + 1 and so on. Pieces are
    // finished left to right, so result stays in curve order.
    void splitPiece(Node<Point> *first, Node<Point> *last, std::uint32_t n, int depth);
    // Longest distance between consecutive points from first to last; 0
    // for a single point.
    static double maxEdgeLength(const Node<Point> *first, const Node<Point> *last);

private:
    // One de Casteljau split of the piece at t; returns the apex and the
    // longest edge of each half.
    Node<Point> *splitOnce(Node<Point> *first, Node<Point> *last, std::uint32_t n, int depth, double t,
                           double &leftLongest, double &rightLongest);

    // Scratch space of splitOnce(), kept between splits: the current
    // de Casteljau row and the 2n - 1 points of the two halves, positions
    // with the ghosts and ghost flags beside them.
    std::vector<Vector> row, rowGhosts, halves, halfGhosts;
    std::vector<bool> rowFlags, halfFlags;
    std::uint64_t work = 0; // point combinations of the subdivision under way
};
