#include "analysis/ConvergenceSeries.h"

#include "analysis/LimitDistance.h"
#include "analysis/PolygonDistance.h"
#include "analysis/SchemeLevels.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

ConvergenceSeries ConvergenceSeries::measure(const SchemeSetup &setup, std::uint64_t workBudget)
{
    ConvergenceSeries series;
    if (!setup.draws())
        return series;
    SchemeLevels levels(setup);
    if (setup.refines()) {
        series.wantedLevel = setup.reachableLevel();
        series.limited = series.wantedLevel < setup.level;
    } else {
        const SchemeLevels::Level drawn = levels.adaptive();
        series.wantedLevel = drawn.reached;
        series.limited = drawn.limited;
    }
    const std::unique_ptr<LimitCurve> limit = setup.limit();
    series.toLimit = limit != nullptr;
    std::optional<LimitDistance> toLimit;
    if (limit)
        toLimit.emplace(*limit);

    // Work counted in quarters of a point, so that the Bezier weight m / 4
    // stays exact.
    const std::uint64_t m = setup.polygon.size() + (setup.closed ? 1 : 0);
    const std::uint64_t weight = setup.refines() ? 4 : std::max<std::uint64_t>(4, m);
    const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t budget = workBudget > most / 4 ? most : workBudget * 4;
    std::uint64_t work = 0;
    std::optional<PolygonDistance> previous;
    std::vector<Vector> previousPoints;
    for (int j = 0; j <= series.wantedLevel; ++j) {
        const std::uint64_t count = levels.pointCount(j);
        const std::uint64_t cost = count > most / weight ? most : count * weight;
        if (j > 0 && cost > budget - work) {
            series.bounded = true;
            break;
        }
        work = cost > budget - work ? budget : work + cost;
        SchemeLevels::Level level = levels.make(j);
        if (level.limited) {
            series.limited = true; // a uniform Bezier split beyond the point budget
            break;
        }
        if (toLimit) {
            series.distances.push_back(toLimit->largest(level.points).distance);
        } else {
            // Both ways: Chaikin's new points lie on the edges of the level
            // before, so only its corners, measured against the new
            // polygon, show how far a pass moved the curve.
            PolygonDistance current(level.points, true);
            series.distances.push_back(
                previous ? std::max(previous->largest(level.points).distance, current.largest(previousPoints).distance)
                         : std::numeric_limits<double>::quiet_NaN());
            previous.emplace(std::move(current));
            previousPoints = std::move(level.points);
        }
    }
    return series;
}
