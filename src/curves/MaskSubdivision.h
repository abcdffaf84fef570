#pragma once

#include "curves/Mask.h"
#include "geometry/Vector.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Levels of a uniform scheme refined by its mask, with the ghosts of a drag
// carried along: the custom mask's own subdivision, and every refining
// scheme's on an open polygon.
//
// A pass maps the points p_j to p'_i = sum over j of a_(i - m j) p_j,
// summed as MaskRefinement sums it (from the oldest contributing point to
// the newest), so a closed loop gives MaskRefinement's points bit for bit.
// Points are numbered as the mask numbers them: p_j of level 0 is control
// point j, and point i of level k sits at the parameter (i + tau) / m^k in
// units of level 0, tau the mask's centre (mean first moment of the
// sub-masks over m - 1; see ExactLimit), control point j at j + tau.
//
// Closed: indices wrap round the loop; level k holds N m^k points, 0 to
// N m^k - 1. Open: the polygon is continued along its end edges,
// p_(-k) = p_0 - k (p_1 - p_0) and likewise after p_(N-1), and level k
// keeps the points whose parameters lie in [tau, N - 1 + tau], from the
// first control point's to the last one's: for a scheme that reproduces
// straight lines the curve then starts and ends at the end points. Only
// the points those depend on are ever computed, pass by pass.
//
// The last level goes to a writer chunk by chunk, so no array of the
// curve's size is held beside whatever the writer builds: the level before
// it is the largest array (1/m of the result). A pass whose points could
// leave largestCoordinate (the largest point so far times the mask's
// largest sub-mask sum of magnitudes) is not run: a diverging mask stops
// there instead of overflowing.
class MaskSubdivision
{
public:
    // World units no point of a level may exceed: far beyond any view
    // (a few hundred units at the farthest zoom).
    static constexpr double largestCoordinate = 1e6;
    // Points handed to the writer at once.
    static constexpr std::size_t chunkSize = 4096;

    // Consecutive points of the last level: positions and, while the input
    // had ghosts, ghosts (positions where none) and ghost flags (0 or 1).
    struct Chunk
    {
        std::span<const Vector> positions;
        std::span<const Vector> ghosts;
        std::span<const std::uint8_t> flags;
    };
    using Writer = std::function<void(const Chunk &chunk)>;

    // A run of indices of a level, first to last, both included.
    struct Range
    {
        std::int64_t first = 0;
        std::int64_t last = -1;
        std::uint64_t size() const { return last >= first ? std::uint64_t(last - first + 1) : 0; }
    };

    // What a run made.
    struct Outcome
    {
        int reached = 0;       // passes run
        bool limited = false;  // the point limit stopped it below the passes asked
        bool diverged = false; // largestCoordinate stopped it below the passes asked
        Range written;         // the mask's indices of the points written, in order
    };

    // Copies the mask's arity and coefficients.
    explicit MaskSubdivision(const Mask &mask);

    // tau, in level spacings.
    double centre() const { return tau; }
    // The indices of level k (k >= 0) of a polygon of n points: 0 to
    // n m^k - 1 when closed; the parameter range of the control points
    // when open, widened by margin indices at either end.
    Range keptRange(std::size_t n, int k, bool closed, std::size_t margin = 0) const;
    // The most passes, up to passes, whose level of a polygon of n points
    // holds at most pointLimit points.
    int reachable(std::size_t n, int passes, bool closed, std::uint32_t pointLimit) const;

    // Runs up to passes passes (as reachable() allows, and largestCoordinate)
    // over positions, the closed loop or the open polygon, with its ghosts
    // and their flags (both empty, or as long as positions), and hands the
    // last level's kept range (see keptRange) to write, in order. Nothing
    // is written for an empty polygon.
    Outcome run(std::span<const Vector> positions, std::span<const Vector> ghosts,
                std::span<const std::uint8_t> flags, bool closed, int passes, std::uint32_t pointLimit,
                const Writer &write, std::size_t margin = 0) const;

    // The same for positions alone, the last level returned as an array.
    struct Level
    {
        std::vector<Vector> points;
        Outcome outcome;
    };
    Level refine(std::span<const Vector> positions, bool closed, int passes, std::uint32_t pointLimit,
                 std::size_t margin = 0) const;

private:
    // One level's points over a run of indices, with ghosts and flags.
    struct Points
    {
        Range range;
        std::vector<Vector> positions, ghosts;
        std::vector<std::uint8_t> flags;
    };

    Points levelZero(std::span<const Vector> positions, std::span<const Vector> ghosts,
                     std::span<const std::uint8_t> flags, bool closed, Range range) const;
    // The level-l inputs of the points of range at level l + 1.
    Range inputsOf(Range range) const;
    // The points of range of the next level from in, which holds its inputs.
    void pass(const Points &in, Range range, Points &out, std::size_t offset) const;
    // in wrapped round the loop of size n so that it holds the inputs of
    // the whole next level.
    Points wrapped(const Points &in, std::uint64_t n) const;

    int m;
    std::vector<double> a;
    double tau = 0.0;
    double growth = 1.0; // the largest sum of |a| over a residue class
};
