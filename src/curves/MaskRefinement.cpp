#include "curves/MaskRefinement.h"

#include <algorithm>

MaskRefinement::MaskRefinement(const Mask &mask) : arity_(mask.arity()), coefficients(mask.coefficients()) {}

void MaskRefinement::pass(std::span<const Vector> in, std::vector<Vector> &out) const
{
    const std::size_t count = in.size();
    const auto m = static_cast<std::size_t>(arity_);
    out.resize(count * m);
    if (count == 0)
        return;
    // The loop laid out once with the `back` points before its start that
    // the first new points reach back to, wrapping as often as needed.
    const std::size_t back = (coefficients.size() - 1) / m;
    std::vector<Vector> &loop = scratch;
    loop.resize(back + count);
    for (std::size_t k = 0, from = (count - back % count) % count; k < back; ++k, from = from + 1 == count ? 0 : from + 1)
        loop[k] = in[from];
    std::copy(in.begin(), in.end(), loop.begin() + static_cast<std::ptrdiff_t>(back));
    for (std::size_t r = 0; r < m; ++r) {
        if (r >= coefficients.size()) {
            for (std::size_t q = 0; q < count; ++q)
                out[m * q + r] = Vector();
            continue;
        }
        // New point m q + r takes a_(r + m t) from p_(q - t), t = 0 .. steps.
        const std::size_t steps = (coefficients.size() - 1 - r) / m;
        const double *a = &coefficients[r];
        for (std::size_t q = 0; q < count; ++q) {
            const Vector *p = &loop[back + q - steps];
            Vector sum = p[0] * a[m * steps];
            for (std::size_t t = 1; t <= steps; ++t)
                sum = sum + p[t] * a[m * (steps - t)];
            out[m * q + r] = sum;
        }
    }
}

MaskRefinement::Level MaskRefinement::refine(std::span<const Vector> polygon, int passes,
                                             std::uint32_t pointLimit) const
{
    Level level;
    const auto m = static_cast<std::uint64_t>(arity_);
    std::uint64_t size = polygon.size();
    while (level.reached < passes && size > 0 && size * m <= pointLimit) {
        size *= m;
        ++level.reached;
    }
    level.limited = level.reached < passes && size > 0;
    // Both arrays at their final sizes from the start: no pass moves or
    // grows them.
    std::vector<Vector> next;
    level.points.reserve(static_cast<std::size_t>(size));
    next.reserve(static_cast<std::size_t>(size / (level.reached > 0 ? m : 1)));
    (level.reached % 2 == 0 ? level.points : next).assign(polygon.begin(), polygon.end());
    for (int k = 0; k < level.reached; ++k) {
        if ((level.reached - k) % 2 == 0)
            pass(level.points, next);
        else
            pass(next, level.points);
    }
    return level;
}
