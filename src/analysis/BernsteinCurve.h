#pragma once

#include "analysis/LimitCurve.h"

#include <span>
#include <vector>

// The Bezier curve of a control polygon in Bernstein form, t in [0, 1]:
// C(t) = sum over i of C(m, i) t^i (1 - t)^(m - i) Qi for the m + 1 points
// Qi. An open polygon of n points gives degree n - 1; a closed one has its
// first point repeated at the end and degree n, exactly the polygon that
// BezierCurve splits. It is the limit of the Bezier scheme at every split
// parameter. One span. Inside [0, 1] an evaluation sums the Bernstein
// weights outwards from the largest, each from its neighbour, and divides
// by their sum: no binomial is formed, so nothing overflows at any degree
// (the file format allows 100,000 points), and weights below 1e-20 of the
// largest are left out, so that a curve of degree m costs O(min(m,
// sqrt(m t (1 - t)))) per point. All weights are positive, so the error
// stays within a few (terms summed) * eps * max |Qi|, as with de
// Casteljau's O(m^2) construction. Outside [0, 1] (extrapolation) a Horner
// form of the sum is used, which overflows past a few hundred points.
class BernsteinCurve : public LimitCurve
{
public:
    // Copies the polygon (z ignored); an empty polygon is taken as the
    // single point (0, 0).
    BernsteinCurve(std::span<const Vector> polygon, bool closed);

    // m: the number of control points used minus one.
    std::size_t degree() const { return points.size() - 1; }
    // The control points used, Q0 ... Qm (the closing point included).
    const std::vector<Vector> &controlPoints() const { return points; }

    double parameterStart() const override { return 0.0; }
    double parameterEnd() const override { return 1.0; }
    bool closed() const override { return closed_; }
    std::size_t spanCount() const override { return 1; }
    Jet jet(double t) const override;
    Vector at(double t) const override;
    double curvatureBound(std::size_t span) const override;

    // The Bernstein sum of the points c at t; (0, 0) for none.
    static Vector bernsteinSum(std::span<const Vector> c, double t);

private:
    std::vector<Vector> points;
    std::vector<Vector> firstDifferences;  // m (Qi+1 - Qi): control points of C'
    std::vector<Vector> secondDifferences; // m (m - 1) (Qi+2 - 2 Qi+1 + Qi): of C''
    bool closed_;
};
