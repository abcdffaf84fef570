#pragma once

#include "analysis/SchemeSetup.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The passes of a refining scheme (Chaikin, cubic B-spline, proposed) on a
// closed polygon, for "Show Passes": the polygons of levels 0 to k - 1
// under the level-k curve, and for the last pass which of the level-k
// points it inserted and which it moved.
//
// The levels are made with the project's scheme classes (SchemeLevels).
// The roles follow from the order in which the schemes lay out a pass's
// result, one group per point P of the level before, in its order:
// - Chaikin: A, B (the two points cut from P's corner): both inserted,
//   nothing moved, since P itself is no part of the new polygon;
// - cubic B-spline: P moved, then E on the edge after P: even indices
//   moved, odd inserted;
// - proposed: E, P moved, H: index 3j + 1 moved, the others inserted.
class SubdivisionPasses
{
public:
    enum class Role : unsigned char { Moved, Inserted };

    // Most points that make() copies, summed over all levels it keeps.
    static constexpr std::uint64_t defaultPointBound = std::uint64_t{1} << 22;

    // The passes for setup at its level. Empty (level 0) for the Bezier
    // scheme and when the scheme draws nothing (open polygon, fewer than
    // 3 points). Keeps levels 0 .. k only while their points add up to at
    // most pointBound: past it, bounded is set, polygons holds the lowest
    // levels that fit and last and roles are empty (roleAt() still tells
    // the roles of the curve the program draws). Cost: O(g / (g - 1) *
    // points kept) with the growth g of a pass, about 40 ns and 24 bytes
    // per point kept.
    static SubdivisionPasses make(const SchemeSetup &setup, std::uint64_t pointBound = defaultPointBound);

    // The role of point index (0-based) of a level >= 1 of scheme (numbered
    // as Schemes numbers them); Inserted for a scheme without passes.
    static Role roleAt(int scheme, std::size_t index);

    std::vector<std::vector<Vector>> polygons; // polygons[j]: the points of level j, j < level
    std::vector<Vector> last;                  // the points of level k (the polygon itself when k = 0)
    std::vector<Role> roles;                   // roles[i] of last[i]; empty when k = 0
    int level = 0;                             // k: the passes the scheme runs (below its level when limited)
    bool limited = false;                      // the point limit stopped the scheme below its level
    bool bounded = false;                      // pointBound stopped the copies below level k
};
