#pragma once

#include "analysis/SchemeSetup.h"

#include <cstdint>
#include <vector>

// How fast a scheme converges: one distance per level, 0 to the level the
// program draws, for a plot on a logarithmic scale.
//
// - For a refining scheme that is proven to converge at its u (where
//   MaskAnalysis::provesConvergence holds for its mask: at the panel's
//   hundredths Chaikin from u = 0.05, the B-spline scheme from -0.10 and
//   the proposed scheme from 0.01, each up to 0.99), entry j is the largest distance from a point of level j to
//   its own exact limit point (ExactLimit), the quantity the convergence
//   theory bounds; toLimit is true. Level 0 is the control polygon. The
//   levels are made by the scheme's mask (MaskRefinement), which gives
//   the scheme class's own points bit for bit, turned round the loop; the
//   turn pairs every point with the same limit point.
// - For a refining scheme that does not converge (or whose convergence
//   cannot be proven), entry j is the Hausdorff distance between the
//   closed polygons of levels j and j - 1, edges included: the larger of
//   the largest distance from a point of either polygon to the other
//   (PolygonDistance::largestAlong). Entry 0 has no predecessor and is
//   NaN (test with std::isnan); toLimit is false.
// - For the Bezier scheme level d is the uniform split to depth d, and
//   the series runs to the depth D that the adaptive split reaches at the
//   current precision and u (the deepest split of the curve the program
//   draws): entry d is the largest distance from the points of that split
//   to the Bezier curve (LimitDistance to the BernsteinCurve), and its
//   ratio per level is max(t, 1 - t)^2 for split parameter t (a quarter
//   at t = 1/2); toLimit is true. Levels are made by the Bezier class
//   (SchemeLevels).
// For the refining schemes the series runs to the level the scheme
// reaches (level, or fewer when the setup's pointLimit stops it: limited).
//
// Cost: the series stops before a level whose work would take the total
// past workBudget (bounded), where a level's work is its point count for
// the refining schemes and point count * m / 4 for the Bezier scheme with
// m control points (both its splitting and its evaluation grow with m).
// A refining scheme's point costs about 0.02 microseconds (one pass and
// its limit point), so with the default budget a series takes at most
// about 30 ms. Comparing levels evaluates a few segment distances per
// point, far more on the tangles of a diverging scheme, and stops at its
// own budget of 16 per point of workBudget: about 0.15 s. A Bezier point
// costs about m / 6 times 0.25 microseconds, at most about a quarter of a
// second, plus one adaptive subdivision, the program's own cost for
// drawing the curve, and the sampling of the limit, which grows with the
// polygon (0.6 s at 20,000 points). See bench/MaskBench.cpp. Memory:
// about 50 bytes per point of the largest level measured for a refining
// scheme, 250 for the Bezier one.
class ConvergenceSeries
{
public:
    static constexpr std::uint64_t defaultWorkBudget = std::uint64_t{1} << 20;

    // The series for setup. Empty (no entries) when the scheme draws
    // nothing (SchemeSetup::draws() is false).
    static ConvergenceSeries measure(const SchemeSetup &setup, std::uint64_t workBudget = defaultWorkBudget);

    std::vector<double> distances; // entry j for level j, world units; NaN where undefined
    bool toLimit = false;          // distances to the exact limit, else to the previous level
    int wantedLevel = 0;           // the level the program draws (refining: passes reached; Bezier: D)
    bool limited = false;          // the point limit stopped the scheme below the level asked
    bool bounded = false;          // workBudget stopped the series below wantedLevel

    // The last level measured (-1 when empty).
    int lastLevel() const { return static_cast<int>(distances.size()) - 1; }
};
