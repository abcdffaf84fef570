#include "analysis/ExactLimit.h"

#include "analysis/BasisValues.h"
#include "analysis/MaskAnalysis.h"

#include <cmath>

ExactLimit::ExactLimit(std::vector<double> values, double centre)
    : phi(std::move(values)), tau(centre), whole(long(std::floor(centre)))
{
}

std::optional<ExactLimit> ExactLimit::of(const Mask &mask)
{
    if (!MaskAnalysis::provesConvergence(mask))
        return std::nullopt;
    // Points p_j = j + tau on the line f(x) = x, point j at parameter
    // j + tau, refine to p'_i = (i - M) / m + tau, M the sub-masks' common
    // first moment sum over k of a_(r + m k) (r + m k). They stay on the
    // line at their own parameters (i + tau) / m when tau = M / (m - 1).
    // With the moments unequal (one sum rule only) their mean stands in.
    const int m = mask.arity();
    double moment = 0.0;
    const std::vector<double> &a = mask.coefficients();
    for (std::size_t k = 0; k < a.size(); ++k)
        moment += double(k) * a[k];
    const double centre = moment / m / (m - 1);
    long q = 1;
    while (q < largestDenominator && std::abs(centre * double(q) - std::round(centre * double(q))) > 1e-9 * double(q))
        ++q;
    long p = std::lround(centre * double(q));
    if (std::abs(centre * double(q) - double(p)) > 1e-9 * double(q)) {
        q = 1;
        p = std::lround(centre);
    }
    const long whole = p >= 0 ? p / q : -((-p + q - 1) / q);
    std::optional<std::vector<double>> values = BasisValues::at(a, m, p - whole * q, q);
    if (!values)
        return std::nullopt;
    return ExactLimit(std::move(*values), double(p) / double(q));
}

Vector ExactLimit::limitOf(std::span<const Vector> level, std::size_t i) const
{
    const long n = long(level.size());
    double x = 0.0, y = 0.0;
    for (std::size_t j = 0; j < phi.size(); ++j) {
        if (phi[j] == 0.0)
            continue;
        const long index = ((long(i) + whole - long(j)) % n + n) % n;
        x += phi[j] * level[std::size_t(index)].x();
        y += phi[j] * level[std::size_t(index)].y();
    }
    return {x, y};
}

Farthest ExactLimit::largestDistance(std::span<const Vector> level) const
{
    Farthest farthest;
    for (std::size_t i = 0; i < level.size(); ++i) {
        const Vector limit = limitOf(level, i);
        const double d = std::hypot(level[i].x() - limit.x(), level[i].y() - limit.y());
        if (d > farthest.distance)
            farthest = {d, i};
    }
    return farthest;
}

Farthest ExactLimit::largestDistanceWithin(std::span<const Vector> level, std::size_t margin) const
{
    Farthest farthest;
    if (level.size() <= 2 * margin)
        return farthest;
    for (std::size_t i = margin; i + margin < level.size(); ++i) {
        double x = 0.0, y = 0.0;
        for (std::size_t j = 0; j < phi.size(); ++j) {
            if (phi[j] == 0.0)
                continue;
            const Vector &p = level[std::size_t(long(i) + whole - long(j))];
            x += phi[j] * p.x();
            y += phi[j] * p.y();
        }
        const double d = std::hypot(level[i].x() - x, level[i].y() - y);
        if (d > farthest.distance)
            farthest = {d, i - margin};
    }
    return farthest;
}
