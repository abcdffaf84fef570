#include "curves/CurveTesting.h"

#include "analysis/ConvergenceSeries.h"
#include "analysis/PolygonDistance.h"
#include "analysis/SchemeLevels.h"

#include <limits>

namespace {

SchemeSetup setupOf(int scheme, double u, const std::vector<Vector> &polygon, bool closed, int level)
{
    SchemeSetup setup;
    setup.scheme = scheme;
    setup.u = u;
    setup.polygon = polygon;
    setup.closed = closed;
    setup.level = level;
    setup.precision = 0.002;
    return setup;
}

// Chaikin (u = 0.75), the cubic B-spline scheme (u = 0.5) and the Bezier
// scheme split at 1/2 approach their limits by a factor of 4 per level.
TEST(ConvergenceSeriesTest, DistancesToTheLimitQuarterPerLevel)
{
    const SchemeSetup cases[] = {
        setupOf(SchemeSetup::Chaikin, 0.75, polygons::star(), true, 12),
        setupOf(SchemeSetup::BSpline, 0.5, polygons::pentagon(), true, 12),
        setupOf(SchemeSetup::Bezier, 0.5, polygons::pentagon(), false, 0),
        setupOf(SchemeSetup::Bezier, 0.5, polygons::star(), true, 0),
    };
    for (const SchemeSetup &setup : cases) {
        SCOPED_TRACE(testing::Message() << "scheme " << setup.scheme << ", " << setup.polygon.size() << " points");
        const ConvergenceSeries series = ConvergenceSeries::measure(setup);
        EXPECT_TRUE(series.toLimit);
        EXPECT_FALSE(series.limited || series.bounded);
        ASSERT_EQ(series.lastLevel(), series.wantedLevel);
        ASSERT_GE(series.lastLevel(), 8);
        if (setup.refines()) {
            EXPECT_EQ(series.wantedLevel, 12);
        }
        for (int j = 1; j <= series.lastLevel(); ++j)
            EXPECT_LT(series.distances[std::size_t(j)], series.distances[std::size_t(j - 1)]) << "level " << j;
        for (int j = series.lastLevel() - 1; j <= series.lastLevel(); ++j)
            EXPECT_NEAR(series.distances[std::size_t(j)] / series.distances[std::size_t(j - 1)], 0.25, 0.006)
                << "level " << j;
    }
}

// The largest distance from the points a to the closed polygon b, over
// every segment.
double farthestFrom(const std::vector<Vector> &a, const std::vector<Vector> &b)
{
    double worst = 0.0;
    for (const Vector &p : a) {
        double nearest = std::numeric_limits<double>::max();
        for (std::size_t i = 0; i < b.size(); ++i)
            nearest = std::min(nearest, PolygonDistance::segmentDistance(p, b[i], b[(i + 1) % b.size()]));
        worst = std::max(worst, nearest);
    }
    return worst;
}

// Without a known limit: the Hausdorff distance between levels j and
// j - 1, both made by the scheme class, compared over every segment.
TEST(ConvergenceSeriesTest, OtherWeightsCompareConsecutiveLevels)
{
    const SchemeSetup cases[] = {
        setupOf(SchemeSetup::Proposed, 0.5, polygons::pentagon(), true, 4),
        setupOf(SchemeSetup::Chaikin, 0.9, polygons::star(), true, 5),
        setupOf(SchemeSetup::BSpline, 0.3, polygons::triangle(), true, 5),
    };
    for (const SchemeSetup &setup : cases) {
        const ConvergenceSeries series = ConvergenceSeries::measure(setup);
        EXPECT_FALSE(series.toLimit);
        ASSERT_EQ(series.lastLevel(), setup.level);
        EXPECT_TRUE(std::isnan(series.distances[0]));
        SchemeLevels levels(setup);
        std::vector<Vector> previous = levels.make(0).points;
        for (int j = 1; j <= setup.level; ++j) {
            const std::vector<Vector> current = levels.make(j).points;
            const double expected = std::max(farthestFrom(current, previous), farthestFrom(previous, current));
            EXPECT_DOUBLE_EQ(series.distances[std::size_t(j)], expected) << "scheme " << setup.scheme << " level " << j;
            EXPECT_GT(expected, 1e-6);
            previous = current;
        }
    }
}

TEST(ConvergenceSeriesTest, PointBudgetWorkBoundAndNothingDrawn)
{
    // Level 99 on a square: the scheme itself stops at 4 * 2^20 points
    // (4 * 2^21 would exceed the point budget), the series much earlier.
    const ConvergenceSeries deep = ConvergenceSeries::measure(setupOf(SchemeSetup::BSpline, 0.5, polygons::unitSquare(), true, 99));
    EXPECT_TRUE(deep.limited);
    EXPECT_EQ(deep.wantedLevel, 20);
    EXPECT_GT(4u << 21, Curve::pointBudget);
    EXPECT_TRUE(deep.bounded);
    EXPECT_EQ(deep.lastLevel(), 17) << "4 * (2^18 - 1) points fit the default budget of 2^20";

    const ConvergenceSeries tight =
        ConvergenceSeries::measure(setupOf(SchemeSetup::Chaikin, 0.75, polygons::star(), true, 6), 100);
    EXPECT_TRUE(tight.bounded);
    EXPECT_FALSE(tight.limited);
    EXPECT_EQ(tight.lastLevel(), 2) << "10 + 20 + 40 points, 80 more would pass 100";

    // A split parameter near an end needs hundreds of adaptive splits;
    // the uniform series stops at its budget.
    const ConvergenceSeries skewed = ConvergenceSeries::measure(setupOf(SchemeSetup::Bezier, 0.01, polygons::triangle(), false, 0));
    EXPECT_GT(skewed.wantedLevel, 100);
    EXPECT_TRUE(skewed.bounded);
    EXPECT_GT(skewed.lastLevel(), 10);

    EXPECT_EQ(ConvergenceSeries::measure(setupOf(SchemeSetup::Chaikin, 0.75, polygons::star(), false, 3)).lastLevel(), -1);
    EXPECT_EQ(ConvergenceSeries::measure(setupOf(SchemeSetup::Bezier, 0.5, {{0, 0}, {1, 1}}, false, 0)).lastLevel(), -1);
}

} // namespace
