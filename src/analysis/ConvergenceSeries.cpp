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
// polygon from the other may lie inside an edge.
double hausdorff(const std::vector<Vector> &a, const std::vector<Vector> &b)
{
    return std::max(PolygonDistance(b, true).largestAlong(a, true).distance,
                    PolygonDistance(a, true).largestAlong(b, true).distance);
}

void measureRefining(const SchemeSetup &setup, std::uint64_t workBudget, ConvergenceSeries &series)
{
    series.wantedLevel = setup.reachableLevel();
    series.limited = series.wantedLevel < setup.level;
    const Mask mask = *setup.mask();
    const std::optional<ExactLimit> limit = ExactLimit::of(mask);
    series.toLimit = limit.has_value();
    const MaskRefinement refinement(mask);
    Work work(workBudget, 4);
    std::vector<Vector> level, next;
    for (const Vector &p : setup.polygon)
        level.emplace_back(p.x(), p.y());
    for (int j = 0; j <= series.wantedLevel; ++j) {
        if (!work.take(std::uint64_t(level.size()) * (j > 0 ? mask.arity() : 1), j == 0)) {
            series.bounded = true;
            break;
        }
        if (j > 0) {
            refinement.pass(level, next);
            std::swap(level, next);
        }
        if (limit)
            series.distances.push_back(limit->largestDistance(level).distance);
        else
            series.distances.push_back(j > 0 ? hausdorff(next, level) : std::numeric_limits<double>::quiet_NaN());
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
