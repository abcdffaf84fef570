#pragma once

#include "analysis/SchemeSetup.h"

#include <cstdint>
#include <memory>
#include <vector>

// Makes the levels of a scheme with the project's own scheme classes, on a
// private copy of the control polygon, exactly as refresh() makes the curve
// the program draws (rebuild from the control points, subdivide), so that
// what is measured is what is drawn. A level of a refining scheme is its
// number of passes; a level of the Bezier scheme is a uniform split depth:
// every piece split d times at the scheme's split parameter (BezierCurve
// with precision 0 and maxDepth d), 2^d (m - 1) + 1 points for the m
// control points of the Bezier polygon (fewer where a piece has collapsed
// to one point and is left alone).
class SchemeLevels
{
public:
    // The positions of one level, in the scheme's order.
    struct Level
    {
        std::vector<Vector> points;
        int reached = 0;      // the level made (below the one asked when limited)
        bool limited = false; // the setup's pointLimit stopped it short
        // The mask's numbering of the first point (Curve::firstMaskIndex).
        std::int64_t firstMaskIndex = 0;
    };

    explicit SchemeLevels(const SchemeSetup &setup);
    SchemeLevels(const SchemeLevels &) = delete;
    SchemeLevels &operator=(const SchemeLevels &) = delete;
    ~SchemeLevels();

    // Level j >= 0 (see above). Costs one subdivision from the control
    // points: O(n g^j) for a refining scheme, O(2^j m^2) for the Bezier
    // scheme. A refining scheme on an open polygon gives the polygon itself,
    // unless its open ends are on.
    Level make(int j);
    // The deepest split the Bezier scheme makes at the setup's precision
    // and u, as drawn, and whether the point budget stopped it; 0 and
    // false for the refining schemes. Costs what the program's own
    // subdivision costs.
    Level adaptive();
    // Points of level j, as make(j) would give them when nothing is cut
    // short; O(1).
    std::uint64_t pointCount(int j) const;

private:
    Level run(int level, double precision, int maxDepth);

    SchemeSetup setup;
    ControlPoints control;
    std::unique_ptr<Curve> curve;
};
