#include "analysis/BasisCurve.h"

#include "curves/MaskSubdivision.h"

BasisCurve::Samples BasisCurve::of(const Mask &mask)
{
    const std::vector<double> &a = mask.coefficients();
    const auto m = std::size_t(mask.arity());
    Samples out;
    // One pass maps c (indices 0 .. s) to c'_i = sum over j of
    // a_(i - m j) c_j, indices 0 .. m s + n.
    std::vector<double> c{1.0}, next;
    double scale = 1.0;
    while (out.passes == 0 || (c.size() - 1) * m + a.size() <= maxSamples) {
        next.assign((c.size() - 1) * m + a.size(), 0.0);
        for (std::size_t j = 0; j < c.size(); ++j)
            for (std::size_t k = 0; k < a.size(); ++k)
                next[m * j + k] += a[k] * c[j];
        std::swap(c, next);
        scale *= double(m);
        ++out.passes;
    }
    // phi = sum over i of c_i phi(m^k x - i) puts c_i at the parameter
    // (i + tau) / m^k, tau the mask's centre: for an interpolatory mask
    // c_i is phi there exactly.
    const double tau = MaskSubdivision(mask).centre();
    for (std::size_t i = 0; i < c.size(); ++i) {
        out.x.push_back((double(i) + tau) / scale);
        out.phi.push_back(c[i]);
        if (i + 1 < c.size()) {
            out.slopeX.push_back((double(i) + tau + 0.5) / scale);
            out.slope.push_back((c[i + 1] - c[i]) * scale);
        }
    }
    return out;
}
