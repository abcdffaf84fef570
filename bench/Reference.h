#pragma once

#include <vector>

// Plain contiguous-array implementations of the subdivision rules, without
// ghosts and without per-point allocation: the yardstick the schemes are
// measured against.
namespace reference {

struct Vec3
{
    double x, y, z;
};

using Polyline = std::vector<Vec3>;

// Each closed rule runs `level` passes and returns the accounted area
// difference (0 where the rule keeps none) alongside the points.
struct Result
{
    Polyline points;
    double deltaArea = 0;
};

Result chaikin(const Polyline &control, int level, double u);
Result bspline(const Polyline &control, int level, double u);
Result proposed(const Polyline &control, int level, double u);
// Adaptive de Casteljau: split at weight u until no edge is longer than
// precision; the control polygon is closed by repeating its first point.
Polyline bezier(const Polyline &control, bool closed, double precision, double u);

} // namespace reference
