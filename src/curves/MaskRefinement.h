#pragma once

#include "curves/Curve.h"
#include "curves/Mask.h"
#include "geometry/Vector.h"

#include <cstdint>
#include <span>
#include <vector>

// Refines a closed polygon held in a contiguous array by any mask: one
// pass maps the N points p_j to the m N points p'_i = sum over j of
// a_(i - m j) p_j, indices taken modulo N before and m N after. Like the
// closed schemes' own passes (ClosedRefinement) it works on whole arrays,
// never on the point list, and stops where the next pass would exceed a
// point limit.
//
// Each new point is summed from the oldest contributing point to the
// newest: p'_(m q + r) = (..(a_(r + m T) p_(q - T) + a_(r + m (T - 1))
// p_(q - T + 1)) + ..) + a_r p_q. With a scheme's mask this order gives
// that scheme's points bit for bit, up to a rotation of the loop (see
// SchemeMasks). Cost: O(N (n + 1)) per pass for n + 1 coefficients.
class MaskRefinement
{
public:
    // Copies the mask's arity and coefficients.
    explicit MaskRefinement(const Mask &mask);

    // One pass over the closed polygon in (any size; empty gives empty)
    // into out, which is resized to m in.size() points; out must not be in.
    // Not for two threads at once on one object (it keeps a scratch array).
    void pass(std::span<const Vector> in, std::vector<Vector> &out) const;

    // The result of refine().
    struct Level
    {
        std::vector<Vector> points;
        int reached = 0;      // passes run
        bool limited = false; // pointLimit stopped it below the passes asked
    };
    // passes passes (0 or more) over the closed polygon, or as many as keep
    // the point count within pointLimit, as Curve::refineClosed decides.
    // Memory: the last two levels.
    Level refine(std::span<const Vector> polygon, int passes, std::uint32_t pointLimit = Curve::pointBudget) const;

    int arity() const { return arity_; }

private:
    int arity_;
    std::vector<double> coefficients;
    mutable std::vector<Vector> scratch; // the loop with its wrap-around, kept between passes
};
