#include "curves/MaskSubdivision.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b)
{
    return -floorDiv(-a, b);
}

// The largest coordinate of any of points (x and y); infinite when one is
// not a number.
double largestOf(const std::vector<Vector> &points)
{
    double largest = 0.0;
    for (const Vector &p : points) {
        const double size = std::max(std::abs(p.x()), std::abs(p.y()));
        if (!(size <= largest))
            largest = std::isnan(size) ? std::numeric_limits<double>::infinity() : size;
    }
    return largest;
}

// from + (from - to) * steps: the end point `from` of the edge from `to`
// continued steps edge lengths on beyond it.
Vector beyond(const Vector &from, const Vector &to, double steps)
{
    return from + (from + to * -1.0) * steps;
}

} // namespace

MaskSubdivision::MaskSubdivision(const Mask &mask) : m(mask.arity()), a(mask.coefficients())
{
    // The sub-masks' first moments sum to sum over k of k a_k; their mean
    // over m - 1 is the parameter of point 0 (as ExactLimit takes it).
    double moment = 0.0;
    for (std::size_t k = 0; k < a.size(); ++k)
        moment += double(k) * a[k];
    tau = moment / m / (m - 1);
    for (std::size_t r = 0; r < std::size_t(m); ++r) {
        double sum = 0.0;
        for (std::size_t k = r; k < a.size(); k += std::size_t(m))
            sum += std::abs(a[k]);
        growth = std::max(growth, sum);
    }
}

MaskSubdivision::Range MaskSubdivision::keptRange(std::size_t n, int k, bool closed, std::size_t margin) const
{
    if (n == 0)
        return {};
    const double scale = std::pow(double(m), k);
    if (closed)
        return {0, std::int64_t(double(n) * scale) - 1};
    // The ends are exact multiples in exact arithmetic for the centres the
    // schemes have; rounding must not drop the end point.
    const double slack = 1e-9 * scale;
    const auto first = std::int64_t(std::ceil(tau * (scale - 1) - slack));
    const auto last = std::int64_t(std::floor(double(n - 1) * scale + tau * (scale - 1) + slack));
    return {first - std::int64_t(margin), last + std::int64_t(margin)};
}

int MaskSubdivision::reachable(std::size_t n, int passes, bool closed, std::uint32_t pointLimit) const
{
    int k = 0;
    // Beyond m^40 no count fits any limit; a one-point polygon never grows.
    while (k < passes && k < 40 && keptRange(n, k + 1, closed).size() <= pointLimit)
        ++k;
    return k;
}

MaskSubdivision::Range MaskSubdivision::inputsOf(Range range) const
{
    // New point i takes p_j for i - n <= m j <= i.
    const auto n = std::int64_t(a.size()) - 1;
    return {ceilDiv(range.first - n, m), floorDiv(range.last, m)};
}

MaskSubdivision::Points MaskSubdivision::levelZero(std::span<const Vector> positions, std::span<const Vector> ghosts,
                                                   std::span<const std::uint8_t> flags, bool closed, Range range) const
{
    Points out;
    out.range = closed ? Range{0, std::int64_t(positions.size()) - 1} : range;
    const bool ghosted = !ghosts.empty();
    const auto last = std::int64_t(positions.size()) - 1;
    for (std::int64_t j = out.range.first; j <= out.range.last; ++j) {
        // Inside the polygon its own points; before it along the first
        // edge, after it along the last, depending on both edge ends.
        const bool before = j < 0, after = j > last;
        const std::size_t end = before ? 0 : std::size_t(last);
        const std::size_t next = last == 0 ? end : before ? 1 : std::size_t(last - 1);
        const double steps = before ? double(-j) : double(j - last);
        if (!before && !after) {
            out.positions.push_back(positions[std::size_t(j)]);
        } else {
            out.positions.push_back(beyond(positions[end], positions[next], steps));
        }
        if (!ghosted)
            continue;
        if (!before && !after) {
            out.ghosts.push_back(ghosts[std::size_t(j)]);
            out.flags.push_back(flags[std::size_t(j)]);
        } else {
            out.ghosts.push_back(beyond(ghosts[end], ghosts[next], steps));
            out.flags.push_back(flags[end] | flags[next]);
        }
    }
    return out;
}

MaskSubdivision::Points MaskSubdivision::wrapped(const Points &in, std::uint64_t n) const
{
    // The `back` points before the loop's start that its first new points
    // reach back to, wrapping as often as needed.
    const auto back = std::int64_t(a.size() - 1) / m;
    Points out;
    out.range = {-back, std::int64_t(n) - 1};
    const bool ghosted = !in.ghosts.empty();
    for (std::int64_t j = -back; j < std::int64_t(n); ++j) {
        const auto at = std::size_t(((j % std::int64_t(n)) + std::int64_t(n)) % std::int64_t(n));
        out.positions.push_back(in.positions[at]);
        if (ghosted) {
            out.ghosts.push_back(in.ghosts[at]);
            out.flags.push_back(in.flags[at]);
        }
    }
    return out;
}

void MaskSubdivision::pass(const Points &in, Range range, Points &out, std::size_t offset) const
{
    const auto n = std::int64_t(a.size()) - 1;
    const bool ghosted = !in.ghosts.empty();
    std::int64_t q = floorDiv(range.first, m);
    std::int64_t r = range.first - q * m;
    std::size_t at = offset;
    for (std::int64_t i = range.first; i <= range.last; ++i, ++at) {
        Vector sum, ghost;
        std::uint8_t flag = 0;
        if (r <= n) {
            // New point m q + r takes a_(r + m t) from p_(q - t), t = steps
            // .. 0, oldest first.
            const std::int64_t steps = (n - r) / m;
            const auto from = std::size_t(q - steps - in.range.first);
            const double *c = &a[std::size_t(r)];
            const Vector *p = &in.positions[from];
            sum = p[0] * c[m * steps];
            for (std::int64_t t = 1; t <= steps; ++t)
                sum = sum + p[t] * c[m * (steps - t)];
            if (ghosted) {
                const Vector *g = &in.ghosts[from];
                const std::uint8_t *f = &in.flags[from];
                ghost = g[0] * c[m * steps];
                flag = c[m * steps] != 0.0 ? f[0] : 0;
                for (std::int64_t t = 1; t <= steps; ++t) {
                    ghost = ghost + g[t] * c[m * (steps - t)];
                    flag |= c[m * (steps - t)] != 0.0 ? f[t] : 0;
                }
            }
        }
        out.positions[at] = sum;
        if (ghosted) {
            out.ghosts[at] = ghost;
            out.flags[at] = flag;
        }
        if (++r == m) {
            r = 0;
            ++q;
        }
    }
}

MaskSubdivision::Outcome MaskSubdivision::run(std::span<const Vector> positions, std::span<const Vector> ghosts,
                                              std::span<const std::uint8_t> flags, bool closed, int passes,
                                              std::uint32_t pointLimit, const Writer &write, std::size_t margin) const
{
    Outcome outcome;
    const std::size_t count = positions.size();
    if (count == 0)
        return outcome;
    const bool ghosted = !ghosts.empty();
    const int wanted = std::max(passes, 0);
    const int last = reachable(count, wanted, closed, pointLimit);
    outcome.limited = last < wanted;

    // What each level must hold for the last one: the whole loop, or the
    // points the open polygon's kept range depends on.
    std::vector<Range> needed(std::size_t(last) + 1);
    needed[std::size_t(last)] = keptRange(count, last, closed, margin);
    for (int l = last - 1; l >= 0; --l)
        needed[std::size_t(l)] = closed ? keptRange(count, l, true) : inputsOf(needed[std::size_t(l) + 1]);

    Points level = levelZero(positions, ghosts, flags, closed, needed[0]);
    int reached = 0;
    for (; reached < last; ++reached) {
        const double largest = std::max(largestOf(level.positions), largestOf(level.ghosts));
        if (!(largest * growth <= largestCoordinate)) {
            outcome.diverged = true;
            break;
        }
        Points in = closed ? wrapped(level, level.range.size()) : std::move(level);
        level = Points(); // a closed level's unwrapped copy is not needed beside it
        const Range out = needed[std::size_t(reached) + 1];
        if (reached + 1 == last) {
            // The last pass goes to the writer a chunk at a time.
            Points chunk;
            chunk.positions.resize(chunkSize);
            if (ghosted) {
                chunk.ghosts.resize(chunkSize);
                chunk.flags.resize(chunkSize);
            }
            for (std::int64_t first = out.first; first <= out.last; first += std::int64_t(chunkSize)) {
                const Range part{first, std::min(out.last, first + std::int64_t(chunkSize) - 1)};
                pass(in, part, chunk, 0);
                const std::size_t size = part.size();
                write({std::span(chunk.positions).first(size),
                       ghosted ? std::span<const Vector>(chunk.ghosts).first(size) : std::span<const Vector>(),
                       ghosted ? std::span<const std::uint8_t>(chunk.flags).first(size)
                               : std::span<const std::uint8_t>()});
            }
            outcome.reached = last;
            outcome.written = out;
            return outcome;
        }
        Points next;
        next.range = out;
        next.positions.resize(out.size());
        if (ghosted) {
            next.ghosts.resize(out.size());
            next.flags.resize(out.size());
        }
        pass(in, out, next, 0);
        level = std::move(next);
    }

    // Level 0, or the last level before a pass that could diverge.
    outcome.reached = reached;
    const Range kept = keptRange(count, reached, closed, margin);
    const Range shown{std::max(kept.first, level.range.first), std::min(kept.last, level.range.last)};
    for (std::int64_t first = shown.first; first <= shown.last; first += std::int64_t(chunkSize)) {
        const auto from = std::size_t(first - level.range.first);
        const std::size_t size = std::min<std::uint64_t>(chunkSize, std::uint64_t(shown.last - first + 1));
        write({std::span<const Vector>(level.positions).subspan(from, size),
               ghosted ? std::span<const Vector>(level.ghosts).subspan(from, size) : std::span<const Vector>(),
               ghosted ? std::span<const std::uint8_t>(level.flags).subspan(from, size)
                       : std::span<const std::uint8_t>()});
    }
    outcome.written = shown;
    return outcome;
}

MaskSubdivision::Level MaskSubdivision::refine(std::span<const Vector> positions, bool closed, int passes,
                                               std::uint32_t pointLimit, std::size_t margin) const
{
    Level level;
    level.points.reserve(std::size_t(
        keptRange(positions.size(), reachable(positions.size(), passes, closed, pointLimit), closed, margin).size()));
    level.outcome = run(positions, {}, {}, closed, passes, pointLimit,
                        [&](const Chunk &chunk) {
                            level.points.insert(level.points.end(), chunk.positions.begin(), chunk.positions.end());
                        },
                        margin);
    return level;
}
