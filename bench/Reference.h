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
// Buffers are kept between calls, as an interactive program would keep
// them between drag steps, so the timings compare the rules' work.
struct Result
{
    Polyline points;
    Polyline scratch;
    double deltaArea = 0;
};

void chaikin(Result &r, const Polyline &control, int level, double u);
void bspline(Result &r, const Polyline &control, int level, double u);
void proposed(Result &r, const Polyline &control, int level, double u);
// Adaptive de Casteljau: split at weight u until no edge is longer than
// precision; the control polygon is closed by repeating its first point.
void bezier(Result &r, const Polyline &control, bool closed, double precision, double u);

} // namespace reference
