#pragma once

#include "curves/Mask.h"

#include <vector>

// The basic limit function phi of a mask (the limit of refining the
// sequence ..., 0, 1, 0, ...) and its derivative, sampled for a plot: the
// cascade S^k delta, whose value i approaches phi((i + tau) / m^k) as k
// grows, tau the mask's centre (MaskSubdivision::centre), exactly phi
// there for an interpolatory scheme; phi lives on [0, n / (m - 1)].
class BasisCurve
{
public:
    // The cascade's passes: as many as keep the samples at most maxSamples
    // (at least one pass).
    static constexpr std::size_t maxSamples = 4096;

    // x[i] = (i + tau) / m^k, phi[i] the cascade's value there, and slope[i] the
    // difference quotient (phi[i + 1] - phi[i]) m^k, taken at the middle
    // of the step (slopeX[i]); one entry fewer than x.
    struct Samples
    {
        std::vector<double> x, phi, slopeX, slope;
        int passes = 0;
    };

    // The samples of mask's phi.
    static Samples of(const Mask &mask);
};
