#pragma once

#include "analysis/LimitCurve.h"
#include "curves/Curve.h"
#include "curves/Schemes.h"
#include "curves/Mask.h"
#include "curves/MaskPresets.h"
#include "geometry/ControlPoints.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

// Everything that decides what a scheme draws: the control polygon and the
// scheme's settings, as values, so that the study can rebuild the curve
// level by level on its own copy without touching the view's polygon or
// curves. Schemes are numbered as Schemes numbers them, whose names
// SchemeSetup::Bezier and so on also stand for.
struct SchemeSetup
{
    using enum Schemes::Id;

    std::vector<Vector> polygon; // control points in order (z ignored by the study)
    bool closed = false;
    int scheme = Bezier;         // one of Schemes::Id but None; other values are taken as Bezier
    double u = 0.5;              // Curve::u()
    double precision = 0.2;      // Curve::precision (Bezier only)
    int level = 0;               // Curve::level (the refining schemes only)
    std::uint32_t pointLimit = Curve::pointBudget; // Curve::pointLimit: the most points a subdivision makes
    bool openEnds = false;       // Curve::openEnds (the refining schemes only)
    // The custom scheme's mask (CustomCurve::customMask); the four-point
    // scheme at w = 1/16 until set.
    Mask customMask = MaskPresets::fourPoint(MaskPresets::fourPointTension);

    // The u a new curve of the scheme starts with.
    static double defaultU(int scheme);

    // The settings of curve (one of the five scheme classes) and the
    // positions of its control polygon (empty without one).
    static SchemeSetup of(const Curve &curve);

    // A new curve of this scheme on controlPoints (not owned) with these
    // settings; the caller owns it.
    std::unique_ptr<Curve> makeCurve(ControlPoints *controlPoints) const;

    // True for Chaikin, the B-spline scheme, the proposed scheme and the
    // custom mask.
    bool refines() const { return Schemes::refines(scheme); }
    // Factor by which one pass of a refining scheme multiplies the points
    // of a closed polygon (3 for the proposed scheme, the custom mask's
    // arity, else 2); 2 for the Bezier scheme too, whose uniform splits
    // double the pieces.
    std::uint32_t growth() const;
    // A refining scheme refines an open polygon with its ends continued.
    bool refinesOpen() const { return refines() && !closed && openEnds; }
    // The scheme draws a curve at all: 3 or more points, and a closed
    // polygon, or open ends, for the refining schemes (what render() and
    // draw() require).
    bool draws() const;
    // The scheme's limit is known in closed form: Chaikin at u = 0.75, the
    // B-spline scheme at u = 0.5, each on a closed polygon, the Bezier
    // scheme at any u.
    bool limitKnown() const;
    // That limit (ClosedBSpline or BernsteinCurve), or null when
    // limitKnown() is false or the polygon is empty.
    std::unique_ptr<LimitCurve> limit() const;
    // The refining scheme's mask at u (ChaikinCurve::maskAt and the
    // others); empty for the Bezier scheme, which splits adaptively and
    // has none.
    std::optional<Mask> mask() const;
    // Passes a refining scheme actually runs for level on this polygon:
    // the largest number up to level whose points fit pointLimit, as
    // Curve::refineClosed and MaskSubdivision decide (a diverging mask
    // may stop earlier). 0 when nothing is refined.
    int reachableLevel() const;
    // Points of level j of a refining scheme that draws (the loop's, or an
    // open curve's kept range); the polygon's size when it draws nothing.
    std::uint64_t levelSize(int j) const;
};
