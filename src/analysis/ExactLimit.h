#pragma once

#include "analysis/Farthest.h"
#include "curves/Mask.h"
#include "geometry/Vector.h"

#include <optional>
#include <span>
#include <vector>

// The exact limit point of every point of every level of a convergent
// scheme, from the values of its basic limit function phi (BasisValues).
// The limit of the closed polygon p (N points, a level made by the mask,
// MaskRefinement) is f(x) = sum over l of p_l phi(x - l), in units of the
// level's point spacing. Point i belongs to the parameter x = i + tau,
// tau the scheme's centre: for a scheme that reproduces straight lines,
// the place where a line's point i lies on its own limit, tau =
// (mean first moment of the sub-masks) / (m - 1); n / (2 (m - 1)) for a
// symmetric mask (Chaikin 3/2, the cubic B-spline 2, the proposed scheme
// 3/2). Its limit point is
//     sum over j of phi(tau - T + j) p_(i + T - j),   T = floor(tau),
// indices modulo N: a fixed short sum per point. A level made by the
// scheme's own class is the mask's level turned round the loop, which
// pairs each point with the same limit point.
class ExactLimit
{
public:
    // Largest denominator of tau that is tried; a centre that is no such
    // fraction (an asymmetric mask with odd moments) is rounded to the
    // nearest integer, whose limit point is exact too but not the
    // point's own.
    static constexpr long largestDenominator = 12;

    // The limits of mask's scheme; empty unless the scheme is proven to
    // converge (MaskAnalysis::provesConvergence) and phi is unique.
    static std::optional<ExactLimit> of(const Mask &mask);

    // tau, in level spacings (a multiple of 1 / q, q <= largestDenominator).
    double centre() const { return tau; }
    // phi(tau - T + j) for j = 0, 1, ...: the weights of a limit point.
    const std::vector<double> &weights() const { return phi; }

    // The limit point of point i (< level.size()) of the closed level;
    // z is 0.
    Vector limitOf(std::span<const Vector> level, std::size_t i) const;
    // The largest distance (x and y) from a point of the closed level to
    // its own limit point, and the point; O(N (n + 1) / (m - 1)).
    Farthest largestDistance(std::span<const Vector> level) const;
    // The same over the points of an open level (MaskSubdivision's with
    // its ends continued) but the margin points at either end, which
    // stand in as the neighbours of the others; margin must be at least
    // reach(). The index found counts from the first point measured.
    Farthest largestDistanceWithin(std::span<const Vector> level, std::size_t margin) const;
    // Neighbours a limit point takes on either side, at most.
    std::size_t reach() const { return phi.size() + std::size_t(whole < 0 ? -whole : whole); }

private:
    ExactLimit(std::vector<double> phi, double tau);

    std::vector<double> phi;
    double tau = 0.0;
    long whole = 0; // T
};
