#pragma once

#include "curves/Mask.h"

#include <optional>
#include <string>
#include <vector>

// What can be proven about the scheme of a mask, by the symbol calculus of
// the subdivision literature (see DifferenceSchemes, TransitionMatrices,
// BasisValues): affine invariance, sum rules, the smoothness C^k proven by
// contracting difference schemes, bounds of the Hoelder regularity, the
// support and values at the integers of the basic limit function phi,
// whether the scheme interpolates, and notes that say it in sentences.
// Leading and trailing zero coefficients are dropped first (they only
// shift the scheme or add nothing). A mask of up to 16 coefficients takes
// a few milliseconds (bench/MaskBench.cpp); any mask of up to
// Mask::maxCoefficients a bounded time.
struct MaskAnalysis
{
    // The lower and upper bound of the Hoelder regularity alpha: the limit
    // curves are C^floor(alpha) (an integer alpha needs care: the
    // quadratic B-spline has alpha = 2 and is C^1 only).
    struct Bounds
    {
        double lower = 0.0;
        double upper = 0.0;
    };

    int arity = 2;
    std::vector<double> mask;        // the coefficients, zeros at either end dropped (at least one)
    std::vector<double> subMaskSums; // sum of a_r, a_(r+m), ... for r = 0 .. m - 1, as given
    bool normalised = false;         // every sub-mask sums to 1 (within 1e-12): affine invariant
    int sumRules = 0;                // the largest s with s_m(z)^s dividing the symbol
    int smoothness = -1;             // the largest k with C^k proven; -1: not even continuity
    int contractionSteps = 0;        // the L of passes that proved C^smoothness; 0 with none proven
    // The most passes L tried for the next order (C^(smoothness + 1)), or
    // for C^(sumRules - 1) when that was proven: how far the search went.
    int contractionCap = 0;
    // Empty when the scheme does not converge (not affine invariant, no
    // sum rule, or an upper bound of 0 or less).
    std::optional<Bounds> regularity;
    double support = 0.0;            // n / (m - 1): phi lives on [0, support]
    bool interpolatory = false;      // the old points stay: some a_r = 1 with a_(r + m k) = 0, k != 0
    // phi(0), phi(1), ..., phi(floor(support)); empty unless convergence
    // is proven and phi's values there are unique.
    std::optional<std::vector<double>> basisAtIntegers;
    std::vector<std::string> notes;  // sentences, each without a final full stop

    // The analysis of mask.
    static MaskAnalysis of(const Mask &mask);
    // Empty when every sub-mask of mask sums to 1 (within 1e-12): the
    // scheme is affine invariant. Otherwise the analysis's note saying
    // that it is not ("sub-masks sum to 0.5 and 1: the scheme is not
    // affine invariant"), without a final full stop.
    static std::string affineRefusal(const Mask &mask);
    // True when the scheme is affine invariant and its first difference
    // scheme contracts within the cap on L: the scheme converges to
    // continuous limits. Cheaper than of(): stops at the first proof.
    static bool provesConvergence(const Mask &mask);
};
