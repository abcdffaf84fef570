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
// is within the best distance so far plus the tolerance and projects the
// point onto the exact curve on each of them (Newton's method on the
// squared distance, kept inside the arc by bisection), so the answer does
// not depend on how fine the sampling is.
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
    // The exact nearest point on arc i (samples i and i + 1): the better
    // end, or the interior zero of the squared distance's derivative when
    // the derivative changes sign along the arc.
    Projection onArc(const Vector &p, std::size_t i) const;

    const LimitCurve &curve;
    std::vector<double> parameters;
    std::vector<Vector> points;  // the curve at parameters
    std::vector<Vector> tangents; // its first derivative there
    double slack = 0.0;          // the arcs' largest distance from their chords, with a rounding margin
    BoxTree tree;
};
