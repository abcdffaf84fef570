#include "curves/CurveTesting.h"

#include "analysis/ClosedBSpline.h"
#include "analysis/ExactLimit.h"
#include "analysis/MaskAnalysis.h"
#include "curves/BSplineCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/MaskRefinement.h"
#include "curves/ProposedCurve.h"

#include <cmath>

namespace {

double gap(const Vector &a, const Vector &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// Schemes whose limit is a uniform B-spline: every point's exact limit
// point is the spline at the point's own parameter (i + tau) / m^k - tau.
TEST(ExactLimitTest, BSplineLimitsAtEveryPointOfEveryLevel)
{
    struct Case
    {
        const char *name;
        Mask mask;
        int degree;
        double centre;
    };
    const Case cases[] = {
        {"Chaikin 0.75", ChaikinCurve::maskAt(0.75), 2, 1.5},
        {"cubic B-spline 0.5", BSplineCurve::maskAt(0.5), 3, 2.0},
        {"ternary quadratic", Mask(3, {1.0 / 9, 3.0 / 9, 6.0 / 9, 7.0 / 9, 6.0 / 9, 3.0 / 9, 1.0 / 9}), 2, 1.5},
        {"ternary cubic", Mask(3, {1.0 / 27, 4.0 / 27, 10.0 / 27, 16.0 / 27, 19.0 / 27, 16.0 / 27, 10.0 / 27, 4.0 / 27,
                                   1.0 / 27}),
         3, 2.0},
    };
    const std::vector<Vector> polygon = polygons::star();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ExactLimit> limit = ExactLimit::of(c.mask);
        ASSERT_TRUE(limit);
        EXPECT_EQ(limit->centre(), c.centre);
        const ClosedBSpline spline(polygon, c.degree);
        const MaskRefinement refinement(c.mask);
        std::vector<Vector> level = polygon, next;
        double spacing = 1.0;
        double worst = 0.0;
        for (int k = 0; k <= 5; ++k) {
            for (std::size_t i = 0; i < level.size(); ++i) {
                const double t = (double(i) + c.centre) * spacing - c.centre;
                worst = std::max(worst, gap(limit->limitOf(level, i), spline.at(t)));
            }
            refinement.pass(level, next);
            std::swap(level, next);
            spacing /= c.mask.arity();
        }
        EXPECT_LT(worst, 1e-13);
    }
}

// No closed form for the proposed scheme: point i of level k and point
// 3 i + 3 of level k + 1 have the same parameter, so the same limit point;
// and the distance to the limit falls by a steady factor per level, the
// 3^-alpha of its Hoelder regularity alpha (a third of the spacing per
// level, to the power alpha).
TEST(ExactLimitTest, ProposedSchemeAgreesWithItselfAndConvergesSteadily)
{
    for (const double u : {0.5, 0.2, 0.9}) {
        SCOPED_TRACE(u);
        const Mask mask = ProposedCurve::maskAt(u);
        const std::optional<ExactLimit> limit = ExactLimit::of(mask);
        ASSERT_TRUE(limit);
        EXPECT_EQ(limit->centre(), 1.5);
        const MaskRefinement refinement(mask);
        std::vector<Vector> level = polygons::pentagon(), next;
        std::vector<double> distances;
        for (int k = 0; k <= 8; ++k) {
            refinement.pass(level, next);
            for (std::size_t i = 0; i < level.size(); ++i)
                ASSERT_LT(gap(limit->limitOf(level, i), limit->limitOf(next, 3 * i + 3)), 1e-13) << "level " << k;
            distances.push_back(limit->largestDistance(level).distance);
            std::swap(level, next);
        }
        const double last = distances[8] / distances[7], before = distances[7] / distances[6];
        EXPECT_NEAR(last, before, 0.01 * before);
        const std::optional<MaskAnalysis::Bounds> alpha = MaskAnalysis::of(mask).regularity;
        ASSERT_TRUE(alpha);
        EXPECT_NEAR(last, std::pow(3.0, -alpha->lower), 0.01);
        EXPECT_NEAR(last, std::pow(3.0, -alpha->upper), 0.01);
        EXPECT_GT(distances[8], 1e-12);
    }
}

TEST(ExactLimitTest, NoLimitWithoutConvergence)
{
    EXPECT_FALSE(ExactLimit::of(Mask(2, {1, 1})));
    EXPECT_FALSE(ExactLimit::of(Mask(2, {1, 0.5, 0.5})));
    EXPECT_FALSE(ExactLimit::of(Mask(3, {1, 1, 1})));
}

} // namespace
