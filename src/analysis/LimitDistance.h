#pragma once

#include "analysis/BoxTree.h"
#include "analysis/Farthest.h"
#include "analysis/LimitCurve.h"

#include <span>
#include <vector>

// Distances from points to a LimitCurve, exact up to rounding (down to
// 1e-15 of the curve's size), for the convergence read-out and plot.
//
// The curve is sampled once (LimitCurve::sample) into arcs that each stay
// within a tolerance of their chord, and a BoxTree is built over the arcs
// with their chord boxes widened by it. A query finds the arcs whose chord
// is within the best distance so far plus the tolerance and finds the
// nearest point of the exact curve on each of them, so the answer does not
// depend on how fine the sampling is. Where the squared distance is
// provably convex along an arc (the curve's speed there outweighs its
// curvature bound times the distance) the nearest point is an end or the
// one interior minimum, found by Newton's method kept inside the arc by
// bisection; elsewhere (a corner where the curve stops, a tip sharper
// than the sampling, a point beyond a centre of curvature) the arc is
// halved until each piece is convex or too far away to matter.
// Cost: building O(S) evaluations for S samples (a few hundred to a few
// thousand for a drawn curve, at most LimitCurve::maxSamples); a query
// O(log S) box tests and a few curve evaluations when successive points
// follow the curve, as the points of a level do. Memory: about 100 bytes
// per sample; independent of the number of points measured.
class LimitDistance
{
public:
    // The projection of a point: distance in world units and the
    // parameter of the nearest curve point.
    struct Projection
    {
        double distance = 0.0;
        double parameter = 0.0;
    };

    // curve must outlive this object. tolerance (world units) sets the
    // sampling; 0 picks 1e-4 of the curve's extent.
    explicit LimitDistance(const LimitCurve &curve, double tolerance = 0.0);

    // The nearest point of the curve to p. hint: an arc index near the
    // answer (the one left by the previous query; any value otherwise);
    // updated to the arc found.
    Projection project(const Vector &p, std::size_t &hint) const;
    // The largest distance from any of points to the curve; O(N log S) for
    // N points in curve order.
    Farthest largest(std::span<const Vector> points) const;

    // The sampling tolerance in use (world units).
    double tolerance() const { return slack; }

private:
    // The curve between two parameters: ends, their first derivatives,
    // and the bound of the second derivative on the span holding it.
    struct Piece
    {
        double from, to;
        LimitCurve::Jet start, end;
        double bend;
    };

    // The exact nearest point on arc i (samples i and i + 1), when it is
    // nearer than bound; else any projection at least bound away.
    Projection onArc(const Vector &p, std::size_t i, double bound) const;
    // The same on a piece of an arc, halving it while needed; best holds
    // the nearest point found so far and is improved in place.
    void searchPiece(const Vector &p, const Piece &piece, int depth, Projection &best) const;
    // The interior minimum of a piece on which the squared distance is
    // convex and decreases at the start and increases at the end.
    Projection newton(const Vector &p, const Piece &piece, Projection best) const;

    const LimitCurve &curve;
    std::vector<double> parameters;
    std::vector<Vector> points;  // the curve at parameters
    std::vector<Vector> tangents; // its first derivative there
    std::vector<double> bends;    // per arc: the bound of |second derivative| on its span
    double slack = 0.0;          // the arcs' largest distance from their chords, with a rounding margin
    double margin = 0.0;         // rounding of positions of the curve's extent
    BoxTree tree;
};
