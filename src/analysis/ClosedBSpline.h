#pragma once

#include "analysis/LimitCurve.h"

#include <span>
#include <vector>

// The uniform closed B-spline of degree 2 or 3 of a closed control polygon
// P0 ... Pn-1 (indices taken modulo n): the limit of Chaikin's corner
// cutting at u = 0.75 (degree 2) and of the cubic B-spline scheme at
// u = 0.5 (degree 3). The parameter is in control-point units: t = i is the
// curve point that belongs to Pi, and one span is one unit wide.
// - degree 3: t = i is a knot, (Pi-1 + 4 Pi + Pi+1) / 6; the span [i, i+1]
//   is made from Pi-1 ... Pi+2. Domain [0, n].
// - degree 2: t = i is the middle of Pi's span, (Pi-1 + 6 Pi + Pi+1) / 8;
//   the knots lie at t = i + 1/2, on the edge midpoints (Pi + Pi+1) / 2.
//   Domain [-1/2, n - 1/2].
// With this parameter, the point m (0-based) of a scheme's level k lies
// next to t = m / 2^k (cubic) or t = m / 2^k - (1 - 2^-k) / 2 (Chaikin).
// Evaluation costs O(1) per point.
class ClosedBSpline : public LimitCurve
{
public:
    // Copies the polygon (at least 1 point; z ignored). degree is 2 or 3;
    // any other value is taken as 3.
    ClosedBSpline(std::span<const Vector> polygon, int degree);

    int degree() const { return degree_; }

    double parameterStart() const override;
    double parameterEnd() const override;
    bool closed() const override { return true; }
    std::size_t spanCount() const override { return control.size(); }
    Jet jet(double t) const override;
    double curvatureBound(std::size_t span) const override;

private:
    // The control point i modulo n.
    const Vector &point(long i) const;

    std::vector<Vector> control;
    int degree_;
};
