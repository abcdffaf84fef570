#pragma once

#include "analysis/SchemeSetup.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The passes of a refining scheme (Chaikin, cubic B-spline, proposed, the
// custom mask) on a closed polygon, or an open one with open ends, for
// "Show Passes": the polygons of levels 0 to k - 1 under the level-k curve,
// and for the last pass which of the level-k points it inserted and which
// it moved.
//
// The levels are made with the project's scheme classes (SchemeLevels).
// The roles follow from the mask: the new point i of a pass takes the
// sub-mask a_r, a_(r+m), ... (r = i mod m) of the old points around it. A
// sub-mask that runs over an odd number of old points, from its first
// nonzero weight to its last, is centred on an old point and moves it;
// one over an even number lies between old points and inserts a point.
// So Chaikin's points (A, B: the two cut from each corner) are all
// inserted; the cubic B-spline moves every vertex and inserts one point
// per edge; the proposed scheme moves every vertex and inserts two beside
// it; an interpolatory mask keeps the old points (moved by nothing).
class SubdivisionPasses
{
public:
    enum class Role : unsigned char { Moved, Inserted };

    // Most points that make() copies, summed over all levels it keeps.
    static constexpr std::uint64_t defaultPointBound = std::uint64_t{1} << 22;

    // The passes for setup at its level. Empty (level 0) for the Bezier
    // scheme and when the scheme draws nothing (open polygon without open
    // ends, fewer than 3 points). Keeps levels 0 .. k only while their points add up to at
    // most pointBound: past it, bounded is set, polygons holds the lowest
    // levels that fit and last and roles are empty (roleIn() still tells
    // the roles of the curve the program draws). Cost: O(g / (g - 1) *
    // points kept) with the growth g of a pass, about 40 ns and 24 bytes
    // per point kept.
    static SubdivisionPasses make(const SchemeSetup &setup, std::uint64_t pointBound = defaultPointBound);

    // The role of the point of a level >= 1 that mask numbers maskIndex
    // (MaskSubdivision; a curve's point i is firstMaskIndex + i).
    static Role roleOf(const Mask &mask, std::int64_t maskIndex);
    // The role of point index (0-based) of curve's result: by its mask
    // (roleOf), Inserted for a scheme without one or at level 0.
    static Role roleIn(const Curve &curve, std::size_t index);

    std::vector<std::vector<Vector>> polygons; // polygons[j]: the points of level j, j < level
    std::vector<Vector> last;                  // the points of level k (the polygon itself when k = 0)
    std::vector<Role> roles;                   // roles[i] of last[i]; empty when k = 0
    int level = 0;                             // k: the passes the scheme runs (below its level when limited)
    bool limited = false;                      // the point limit stopped the scheme below its level
    bool bounded = false;                      // pointBound stopped the copies below level k
};
