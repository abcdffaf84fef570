#include "curves/CurveTesting.h"

#include "analysis/ClosedBSpline.h"
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

// An open polygon with open ends and the custom mask measure their exact
// limits too: the cubic B-spline's distances fall by a quarter per level,
// the ternary quadratic B-spline's by a ninth (the square of the spacing).
TEST(ConvergenceSeriesTest, OpenEndsAndCustomMasksMeasureTheExactLimit)
{
    SchemeSetup open = setupOf(SchemeSetup::BSpline, 0.5, polygons::pentagon(), false, 10);
    open.openEnds = true;
    SchemeSetup custom = setupOf(SchemeSetup::Custom, 0.5, polygons::star(), true, 10);
    custom.customMask = MaskPresets::bspline(2, 3);
    custom.level = 6;
    for (const auto &[setup, ratio] : {std::pair{open, 0.25}, std::pair{custom, 1.0 / 9.0}}) {
        SCOPED_TRACE(setup.scheme);
        const ConvergenceSeries series = ConvergenceSeries::measure(setup);
        EXPECT_TRUE(series.toLimit);
        ASSERT_EQ(series.lastLevel(), setup.level);
        const int last = series.lastLevel();
        EXPECT_NEAR(series.distances[std::size_t(last)] / series.distances[std::size_t(last - 1)], ratio, 0.01);
    }
}

// Where the limit is a uniform B-spline, each entry is the largest
// distance from a point of the scheme class's level to the spline at that
// point's own parameter: the mask's point i + s_k is the class's point i
// (s_k = turn (2^k - 1)) and belongs to t = (i + tau) / 2^k - tau.
TEST(ConvergenceSeriesTest, DistancesToTheOwnLimitPointsAgreeWithTheClosedForms)
{
    struct Case
    {
        int scheme;
        double u;
        int degree;
        double tau, turn;
    };
    for (const Case &c : {Case{SchemeSetup::Chaikin, 0.75, 2, 1.5, 1}, Case{SchemeSetup::BSpline, 0.5, 3, 2.0, 2}}) {
        const SchemeSetup setup = setupOf(c.scheme, c.u, polygons::star(), true, 7);
        const ConvergenceSeries series = ConvergenceSeries::measure(setup);
        ASSERT_EQ(series.lastLevel(), 7);
        const ClosedBSpline spline(setup.polygon, c.degree);
        SchemeLevels levels(setup);
        for (int k = 0; k <= 7; ++k) {
            const std::vector<Vector> points = levels.make(k).points;
            const double scale = std::ldexp(1.0, -k), shift = c.turn * (std::ldexp(1.0, k) - 1);
            double largest = 0.0;
            for (std::size_t i = 0; i < points.size(); ++i)
                largest = std::max(largest, distanceXY(points[i], spline.at((double(i) + shift + c.tau) * scale - c.tau)));
            EXPECT_NEAR(series.distances[std::size_t(k)], largest, 1e-12 * (1 + largest)) << "level " << k;
        }
    }
}

// Every u at which a refining scheme converges has its exact limit; the
// distance falls by a steady factor per level.
TEST(ConvergenceSeriesTest, EveryConvergentWeightMeasuresTheExactLimit)
{
    const SchemeSetup cases[] = {
        setupOf(SchemeSetup::Chaikin, 0.6, polygons::star(), true, 12),
        setupOf(SchemeSetup::BSpline, 0.3, polygons::triangle(), true, 12),
        setupOf(SchemeSetup::Proposed, 0.5, polygons::pentagon(), true, 8),
        setupOf(SchemeSetup::Proposed, 0.01, polygons::pentagon(), true, 4),
    };
    for (const SchemeSetup &setup : cases) {
        SCOPED_TRACE(testing::Message() << "scheme " << setup.scheme << " u " << setup.u);
        const ConvergenceSeries series = ConvergenceSeries::measure(setup);
        EXPECT_TRUE(series.toLimit);
        ASSERT_EQ(series.lastLevel(), setup.level);
        const int last = series.lastLevel();
        const double ratio = series.distances[std::size_t(last)] / series.distances[std::size_t(last - 1)];
        const double before = series.distances[std::size_t(last - 1)] / series.distances[std::size_t(last - 2)];
        EXPECT_NEAR(ratio, before, 0.02 * before);
        EXPECT_LT(ratio, 1.0);
    }
}

// A scheme that does not converge: the Hausdorff distance between levels
// j and j - 1, both made by the scheme class, every edge sampled finely:
// the samples come within the edge's length / 256 of the exact value.
TEST(ConvergenceSeriesTest, WithoutConvergenceConsecutiveLevelsAreCompared)
{
    const SchemeSetup cases[] = {
        setupOf(SchemeSetup::Proposed, -0.5, polygons::pentagon(), true, 3),
        setupOf(SchemeSetup::Chaikin, -0.3, polygons::star(), true, 4),
        setupOf(SchemeSetup::BSpline, -0.6, polygons::triangle(), true, 4),
    };
    const auto sampledFrom = [](const std::vector<Vector> &a, const std::vector<Vector> &b, double &longest) {
        double worst = 0.0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const Vector &from = a[i], &to = a[(i + 1) % a.size()];
            longest = std::max(longest, distanceXY(from, to));
            for (int k = 0; k < 128; ++k) {
                const Vector p = from * (1 - k / 128.0) + to * (k / 128.0);
                double nearest = std::numeric_limits<double>::max();
                for (std::size_t j = 0; j < b.size(); ++j)
                    nearest = std::min(nearest, PolygonDistance::segmentDistance(p, b[j], b[(j + 1) % b.size()]));
                worst = std::max(worst, nearest);
            }
        }
        return worst;
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
            double longest = 0.0;
            const double sampled = std::max(sampledFrom(current, previous, longest), sampledFrom(previous, current, longest));
            const double d = series.distances[std::size_t(j)];
            EXPECT_GE(d, sampled - 1e-12) << "scheme " << setup.scheme << " level " << j;
            EXPECT_LE(d, sampled + longest / 256) << "scheme " << setup.scheme << " level " << j;
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

    // A diverging scheme's levels tangle, so that comparing them looks at
    // many segments per point: the series stops at its budget of them.
    const ConvergenceSeries tangled = ConvergenceSeries::measure(setupOf(SchemeSetup::Chaikin, -0.3, polygons::star(), true, 99));
    EXPECT_FALSE(tangled.toLimit);
    EXPECT_TRUE(tangled.bounded);
    EXPECT_LT(tangled.lastLevel(), 16);

    // A Bezier curve of 1,500 control points: finite distances all along.
    std::vector<Vector> many;
    for (int i = 0; i < 1500; ++i)
        many.emplace_back(8 * std::cos(i * 0.01), 8 * std::sin(i * 0.013));
    const ConvergenceSeries bezier = ConvergenceSeries::measure(setupOf(SchemeSetup::Bezier, 0.5, many, false, 0));
    ASSERT_GE(bezier.lastLevel(), 0);
    for (const double d : bezier.distances)
        EXPECT_TRUE(std::isfinite(d));

    EXPECT_EQ(ConvergenceSeries::measure(setupOf(SchemeSetup::Chaikin, 0.75, polygons::star(), false, 3)).lastLevel(), -1);
    EXPECT_EQ(ConvergenceSeries::measure(setupOf(SchemeSetup::Bezier, 0.5, {{0, 0}, {1, 1}}, false, 0)).lastLevel(), -1);
}

} // namespace
