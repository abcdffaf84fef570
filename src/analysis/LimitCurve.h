#pragma once

#include "geometry/Vector.h"

#include <cstddef>
#include <vector>

// A curve known in closed form that a subdivision scheme converges to,
// evaluable at any parameter t of its domain [parameterStart(),
// parameterEnd()]. The domain is cut into spanCount() equal spans on each of
// which the curve is one polynomial; a closed curve repeats with the
// domain's length, so t outside the domain is taken modulo it. Only x and y
// are used: results have z = 0. Implementations: ClosedBSpline (the limits
// of Chaikin and of the cubic B-spline scheme) and BernsteinCurve (the
// Bezier curve).
class LimitCurve
{
public:
    // Position and its first two derivatives with respect to t.
    struct Jet
    {
        Vector point;
        Vector first;
        Vector second;
    };

    // Parameters and positions of a sampling; parameters[i] gives
    // points[i], in increasing order, both ends of the domain included
    // (so a closed curve's last point repeats its first). tolerance is the
    // largest distance the curve between two samples can have from their
    // chord (an upper bound, in world units).
    struct Sampling
    {
        std::vector<double> parameters;
        std::vector<Vector> points;
        double tolerance = 0.0;
    };

    // Most samples sample() makes for a tolerance; a finer tolerance is
    // widened until the sampling fits.
    static constexpr std::size_t maxSamples = std::size_t{1} << 18;

    virtual ~LimitCurve() = default;

    virtual double parameterStart() const = 0;
    virtual double parameterEnd() const = 0;
    virtual bool closed() const = 0;
    // Number of polynomial spans of the domain, at least 1.
    virtual std::size_t spanCount() const = 0;
    // Position and derivatives at t; any finite t (wrapped when closed,
    // extrapolated from the end spans when open).
    virtual Jet jet(double t) const = 0;
    // The position alone; the same value as jet(t).point.
    virtual Vector at(double t) const { return jet(t).point; }
    // An upper bound of |second derivative| over span i (0-based).
    virtual double curvatureBound(std::size_t span) const = 0;

    // count points at equal parameter steps over the whole domain, both
    // ends included (count >= 2; fewer gives the two ends). O(count)
    // evaluations.
    std::vector<Vector> sample(std::size_t count) const;
    // A polyline that stays within tolerance (world units, > 0) of the
    // curve, fine enough to draw at that tolerance: each span is cut into
    // equal steps h with bound * h^2 / 8 <= tolerance. At most maxSamples
    // + 1 points; the tolerance actually met is returned with them.
    Sampling sample(double tolerance) const;
    // Width of one span in t.
    double spanWidth() const { return (parameterEnd() - parameterStart()) / double(spanCount()); }
};
