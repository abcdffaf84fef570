#pragma once

#include "analysis/SchemeSetup.h"

#include <cstdint>
#include <vector>

// How fast a scheme converges: one distance per level, 0 to the level the
// program draws, for a plot on a logarithmic scale.
//
// - Where the limit is known in closed form (SchemeSetup::limitKnown():
//   Chaikin at u = 0.75, the B-spline scheme at u = 0.5, Bezier at any u)
//   entry j is the largest distance from the points of level j to that
//   limit (LimitDistance); toLimit is true. Level 0 is the control polygon.
// - Otherwise entry j is the Hausdorff distance between the closed
//   polygons of levels j and j - 1: the larger of the largest distance
//   from the points of level j to the polygon of level j - 1 and the
//   largest distance from the points of level j - 1 to the polygon of
//   level j (PolygonDistance). One way alone would not do: Chaikin's new
//   points lie on the edges of the level before, at distance 0. Entry 0
//   has no predecessor and is NaN (test with std::isnan); toLimit is false.
//
// Levels are made by SchemeLevels, so with the project's scheme classes.
// For the Bezier scheme level d is the uniform split to depth d, and the
// series runs to the depth D that the adaptive split reaches at the
// current precision and u (the deepest split of the curve the program
// draws): entry d shows how close d rounds of splitting everywhere come to
// the curve, and its ratio per level is max(t, 1 - t)^2 for split
// parameter t (a quarter at t = 1/2). For the refining schemes the series
// runs to the level the scheme reaches (level, or fewer when
// the setup's pointLimit stops it: limited).
//
// Cost: the series stops before a level whose work would take the total
// past workBudget (bounded), where a level's work is its point count for
// the refining schemes and point count * m / 4 for the Bezier scheme with
// m control points (both its splitting and its evaluation grow with m).
// A measured point costs about 0.2 to 0.25 microseconds (making it with
// the scheme class and measuring it; a Bezier point about m / 6 times
// that), so with the default budget a series takes at most about a
// quarter of a second on the development machine, whatever the polygon
// and level (see bench/AnalysisBench.cpp); the Bezier scheme adds one
// adaptive subdivision, the program's own cost for drawing the curve.
// Memory: about 250 bytes per point of the largest level measured, on top
// of the scheme's own.
class ConvergenceSeries
{
public:
    static constexpr std::uint64_t defaultWorkBudget = std::uint64_t{1} << 20;

    // The series for setup. Empty (no entries) when the scheme draws
    // nothing (SchemeSetup::draws() is false).
    static ConvergenceSeries measure(const SchemeSetup &setup, std::uint64_t workBudget = defaultWorkBudget);

    std::vector<double> distances; // entry j for level j, world units; NaN where undefined
    bool toLimit = false;          // distances to the closed-form limit, else to the previous level
    int wantedLevel = 0;           // the level the program draws (refining: passes reached; Bezier: D)
    bool limited = false;          // the point limit stopped the scheme below the level asked
    bool bounded = false;          // workBudget stopped the series below wantedLevel

    // The last level measured (-1 when empty).
    int lastLevel() const { return static_cast<int>(distances.size()) - 1; }
};
