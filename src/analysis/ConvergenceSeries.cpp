#include "analysis/ConvergenceSeries.h"

#include "analysis/ExactLimit.h"
#include "analysis/LimitDistance.h"
#include "analysis/PolygonDistance.h"
#include "analysis/SchemeLevels.h"
#include "curves/MaskRefinement.h"
#include "curves/MaskSubdivision.h"

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
std::optional<double> hausdorff(const std::vector<Vector> &a, const std::vector<Vector> &b, bool closed,
                                std::uint64_t &budget)
{
    const PolygonDistance toB(b, closed), toA(a, closed);
    const std::optional<Farthest> ab = toB.largestAlong(a, closed, budget);
    budget -= std::min(budget, toB.evaluated());
    const std::optional<Farthest> ba = ab ? toA.largestAlong(b, closed, budget) : std::nullopt;
    budget -= std::min(budget, toA.evaluated());
    if (!ab || !ba)
        return std::nullopt;
    return std::max(ab->distance, ba->distance);
}

// The levels of a refining scheme one after the other: a closed loop pass
// by pass (MaskRefinement), an open polygon's kept range with margin
// neighbours at either end made afresh for each level (MaskSubdivision).
class RefiningLevels
{
public:
    RefiningLevels(const SchemeSetup &setup, const Mask &mask, std::size_t margin)
        : closed(setup.closed), margin(margin), refinement(mask), subdivision(mask)
    {
        for (const Vector &p : setup.polygon)
            polygon.emplace_back(p.x(), p.y());
    }

    // Level j, after level j - 1 (from 0 on); its first and last margin
    // points are neighbours only (none when closed).
    const std::vector<Vector> &make(int j)
    {
        if (!closed) {
            level = subdivision.refine(polygon, false, j, std::numeric_limits<std::uint32_t>::max(), margin).points;
        } else if (j == 0) {
            level = polygon;
        } else {
            refinement.pass(level, next);
            std::swap(level, next);
        }
        return level;
    }
    // Level j without its margin.
    std::vector<Vector> kept() const
    {
        const std::size_t cut = closed ? 0 : std::min(margin, level.size() / 2);
        return {level.begin() + long(cut), level.end() - long(cut)};
    }

private:
    bool closed;
    std::size_t margin;
    MaskRefinement refinement;
    MaskSubdivision subdivision;
    std::vector<Vector> polygon, level, next;
};

double largestCoordinate(const std::vector<Vector> &points)
{
    double largest = 0.0;
    for (const Vector &p : points)
        largest = std::max({largest, std::abs(p.x()), std::abs(p.y())});
    return largest;
}

void measureRefining(const SchemeSetup &setup, std::uint64_t workBudget, ConvergenceSeries &series)
{
    series.wantedLevel = setup.reachableLevel();
    series.limited = series.wantedLevel < setup.level;
    const Mask mask = *setup.mask();
    const std::optional<ExactLimit> limit = ExactLimit::of(mask);
    series.toLimit = limit.has_value();
    // The levels the budget allows.
    Work work(workBudget, 4);
    int last = -1;
    while (last < series.wantedLevel && work.take(setup.levelSize(last + 1), last < 0))
        ++last;
    series.bounded = last < series.wantedLevel;
    RefiningLevels levels(setup, mask, limit ? limit->reach() : 0);
    // Comparing levels looks at a few segments per point, but at many on
    // the tangles of a diverging scheme: its own budget stops it there.
    std::uint64_t segments = workBudget > std::numeric_limits<std::uint64_t>::max() / segmentsPerPoint
                                 ? std::numeric_limits<std::uint64_t>::max()
                                 : workBudget * segmentsPerPoint;
    std::uint64_t previousCost = 0;
    std::vector<Vector> before;
    for (int j = 0; j <= last; ++j) {
        const std::vector<Vector> &level = levels.make(j);
        // A diverging mask stops where its curve stops.
        if (!(largestCoordinate(level) <= MaskSubdivision::largestCoordinate)) {
            series.limited = true;
            break;
        }
        if (limit) {
            series.distances.push_back(setup.closed ? limit->largestDistance(level).distance
                                                    : limit->largestDistanceWithin(level, limit->reach()).distance);
            continue;
        }
        std::vector<Vector> current = levels.kept();
        if (j == 0) {
            series.distances.push_back(std::numeric_limits<double>::quiet_NaN());
        } else {
            // A level costs about m times the one before: one that would
            // not fit is not begun.
            if (previousCost > segments / std::uint64_t(mask.arity())) {
                series.bounded = true;
                break;
            }
            const std::uint64_t spent = segments;
            const std::optional<double> apart = hausdorff(before, current, setup.closed, segments);
            if (!apart) {
                series.bounded = true;
                break;
            }
            series.distances.push_back(*apart);
            previousCost = spent - segments;
        }
        before = std::move(current);
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
