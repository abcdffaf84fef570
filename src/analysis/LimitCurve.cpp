#include "analysis/LimitCurve.h"

#include <algorithm>
#include <cmath>

std::vector<Vector> LimitCurve::sample(std::size_t count) const
{
    count = std::max<std::size_t>(count, 2);
    const double start = parameterStart();
    const double width = parameterEnd() - start;
    std::vector<Vector> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        points.push_back(at(start + width * double(i) / double(count - 1)));
    return points;
}

LimitCurve::Sampling LimitCurve::sample(double tolerance) const
{
    // The chord through C(a) and C(a + h) differs from the curve between
    // them by the linear interpolation error, at most h^2 / 8 max |C''|.
    // Each span gets the smallest number of equal steps meeting the
    // tolerance; if the total exceeds maxSamples the tolerance is widened
    // by the square of the excess (steps scale as 1 / sqrt(tolerance)).
    const std::size_t spans = spanCount();
    const double width = spanWidth();
    std::vector<double> bounds(spans);
    for (std::size_t i = 0; i < spans; ++i)
        bounds[i] = curvatureBound(i);
    if (!(tolerance > 0.0))
        tolerance = 1e-12;
    std::vector<std::size_t> steps(spans);
    for (int attempt = 0;; ++attempt) {
        double total = 0.0;
        for (std::size_t i = 0; i < spans; ++i) {
            const double wanted = std::ceil(width * std::sqrt(bounds[i] / (8.0 * tolerance)));
            steps[i] = std::isfinite(wanted) ? std::max<std::size_t>(1, std::size_t(std::min(wanted, 1e12))) : 1;
            total += double(steps[i]);
        }
        if (total <= double(maxSamples) || attempt == 8)
            break;
        const double excess = total / double(maxSamples);
        tolerance *= excess * excess * 1.01;
    }
    Sampling sampling;
    double met = 0.0;
    for (std::size_t i = 0; i < spans; ++i) {
        const double h = width / double(steps[i]);
        met = std::max(met, bounds[i] * h * h / 8.0);
        const double from = parameterStart() + width * double(i);
        for (std::size_t k = 0; k < steps[i]; ++k)
            sampling.parameters.push_back(from + h * double(k));
    }
    sampling.parameters.push_back(parameterEnd());
    sampling.points.reserve(sampling.parameters.size());
    for (double t : sampling.parameters)
        sampling.points.push_back(at(t));
    sampling.tolerance = met;
    return sampling;
}
