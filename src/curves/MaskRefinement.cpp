#include "curves/MaskRefinement.h"

MaskRefinement::MaskRefinement(const Mask &mask) : arity_(mask.arity()), coefficients(mask.coefficients()) {}

void MaskRefinement::pass(std::span<const Vector> in, std::vector<Vector> &out) const
{
    const std::size_t count = in.size();
    const auto m = static_cast<std::size_t>(arity_);
    out.assign(count * m, Vector());
    if (count == 0 || coefficients.empty())
        return;
    // The loop laid out once with the `back` points before its start that
    // the first new points reach back to, wrapping as often as needed.
    const std::size_t back = (coefficients.size() - 1) / m;
    std::vector<Vector> loop(back + count);
    for (std::size_t k = 0; k < loop.size(); ++k)
        loop[k] = in[(k + count * (back / count + 1) - back) % count];
    for (std::size_t r = 0; r < m && r < coefficients.size(); ++r) {
        // New point m q + r takes a_(r + m t) from p_(q - t), t = 0 .. steps.
        const std::size_t steps = (coefficients.size() - 1 - r) / m;
        for (std::size_t q = 0; q < count; ++q) {
            const Vector *p = &loop[back + q];
            Vector sum = p[-static_cast<std::ptrdiff_t>(steps)] * coefficients[r + m * steps];
            for (std::size_t t = steps; t-- > 0;)
                sum = sum + p[-static_cast<std::ptrdiff_t>(t)] * coefficients[r + m * t];
            out[m * q + r] = sum;
        }
    }
}

MaskRefinement::Level MaskRefinement::refine(std::span<const Vector> polygon, int passes,
                                             std::uint32_t pointLimit) const
{
    Level level;
    level.points.assign(polygon.begin(), polygon.end());
    std::vector<Vector> next;
    const auto m = static_cast<std::uint64_t>(arity_);
    while (level.reached < passes && !level.points.empty() && level.points.size() * m <= pointLimit) {
        pass(level.points, next);
        std::swap(level.points, next);
        ++level.reached;
    }
    level.limited = level.reached < passes && !level.points.empty();
    return level;
}
