#include "analysis/ConvergenceSeries.h"

#include "analysis/ExactLimit.h"
#include "analysis/LimitDistance.h"
#include "analysis/PolygonDistance.h"
#include "analysis/SchemeLevels.h"
#include "curves/MaskRefinement.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// Segment distances a comparison of levels may evaluate per point of the
// work budget, about 16 million at the default budget: 0.1 to 0.2 s. A
// smooth pair of levels needs a few per vertex and up to about a hundred
// per edge whose ends are nearest to different segments; a tangle far
// more.
constexpr std::uint64_t segmentsPerPoint = 16;

// The work budget counted in quarters of a point, so that the Bezier
// weight m / 4 stays exact; a level is measured while it fits.
class Work
{
public:
    Work(std::uint64_t budget, std::uint64_t weight)
        : weight(weight), budget(budget > most / 4 ? most : budget * 4)
    {
    }

    // Takes a level of count points when it fits (the first always does).
    bool take(std::uint64_t count, bool first)
    {
        const std::uint64_t cost = count > most / weight ? most : count * weight;
        if (!first && cost > budget - used)
            return false;
        used = cost > budget - used ? budget : used + cost;
        return true;
    }

private:
    static constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t weight, budget, used = 0;
};

// Both ways, edges included: Chaikin's new points lie on the edges of the
// level before, so only its corners, measured against the new polygon,
// show how far a pass moved the curve; and the farthest point of a
// polygon from the other may lie inside an edge. Empty when it would take
// more than budget segment distances (then spent).
std::optional<double> hausdorff(const std::vector<Vector> &a, const std::vector<Vector> &b, std::uint64_t &budget)
{
    const PolygonDistance toB(b, true), toA(a, true);
    const std::optional<Farthest> ab = toB.largestAlong(a, true, budget);
    budget -= std::min(budget, toB.evaluated());
    const std::optional<Farthest> ba = ab ? toA.largestAlong(b, true, budget) : std::nullopt;
    budget -= std::min(budget, toA.evaluated());
    if (!ab || !ba)
        return std::nullopt;
    return std::max(ab->distance, ba->distance);
}

void measureRefining(const SchemeSetup &setup, std::uint64_t workBudget, ConvergenceSeries &series)
{
    series.wantedLevel = setup.reachableLevel();
    series.limited = series.wantedLevel < setup.level;
    const Mask mask = *setup.mask();
    const std::optional<ExactLimit> limit = ExactLimit::of(mask);
    series.toLimit = limit.has_value();
    const MaskRefinement refinement(mask);
    // The levels the budget allows, then the arrays at their final sizes,
    // so that no pass grows them.
    Work work(workBudget, 4);
    int last = -1;
    std::uint64_t count = setup.polygon.size();
    for (; last < series.wantedLevel && work.take(count, last < 0); count *= std::uint64_t(mask.arity()))
        ++last;
    series.bounded = last < series.wantedLevel;
    std::vector<Vector> level, next;
    level.reserve(std::size_t(count / std::uint64_t(mask.arity())));
    next.reserve(std::size_t(count / std::uint64_t(mask.arity())));
    for (const Vector &p : setup.polygon)
        level.emplace_back(p.x(), p.y());
    // Comparing levels looks at a few segments per point, but at many on
    // the tangles of a diverging scheme: its own budget stops it there.
    std::uint64_t segments = workBudget > std::numeric_limits<std::uint64_t>::max() / segmentsPerPoint
                                 ? std::numeric_limits<std::uint64_t>::max()
                                 : workBudget * segmentsPerPoint;
    std::uint64_t previousCost = 0;
    for (int j = 0; j <= last; ++j) {
        if (j > 0) {
            refinement.pass(level, next);
            std::swap(level, next);
        }
        if (limit) {
            series.distances.push_back(limit->largestDistance(level).distance);
        } else if (j == 0) {
            series.distances.push_back(std::numeric_limits<double>::quiet_NaN());
        } else {
            // A level costs about m times the one before: one that would
            // not fit is not begun.
            if (previousCost > segments / std::uint64_t(mask.arity())) {
                series.bounded = true;
                break;
            }
            const std::uint64_t before = segments;
            const std::optional<double> apart = hausdorff(next, level, segments);
            if (!apart) {
                series.bounded = true;
                break;
            }
            series.distances.push_back(*apart);
            previousCost = before - segments;
        }
    }
}

void measureBezier(const SchemeSetup &setup, std::uint64_t workBudget, ConvergenceSeries &series)
{
    SchemeLevels levels(setup);
    const SchemeLevels::Level drawn = levels.adaptive();
    series.wantedLevel = drawn.reached;
    series.limited = drawn.limited;
    const std::unique_ptr<LimitCurve> limit = setup.limit();
    series.toLimit = true;
    const LimitDistance toLimit(*limit);
    const std::uint64_t m = setup.polygon.size() + (setup.closed ? 1 : 0);
    Work work(workBudget, std::max<std::uint64_t>(4, m));
    for (int j = 0; j <= series.wantedLevel; ++j) {
        if (!work.take(levels.pointCount(j), j == 0)) {
            series.bounded = true;
            break;
        }
        SchemeLevels::Level level = levels.make(j);
        if (level.limited) {
            series.limited = true; // a uniform split beyond the point budget
            break;
        }
        series.distances.push_back(toLimit.largest(level.points).distance);
    }
}

} // namespace

ConvergenceSeries ConvergenceSeries::measure(const SchemeSetup &setup, std::uint64_t workBudget)
{
    ConvergenceSeries series;
    if (!setup.draws())
        return series;
    if (setup.refines())
        measureRefining(setup, workBudget, series);
    else
        measureBezier(setup, workBudget, series);
    return series;
}
