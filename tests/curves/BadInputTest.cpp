// Input a hurried or curious user produces: extreme settings, crowded and
// degenerate polygons. Every scheme must finish with a well-formed result.
#include "CurveTesting.h"

#include "curves/BSplineCurve.h"
#include "curves/BezierCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/ProposedCurve.h"
#include "support/ListInvariants.h"

#include <memory>
#include <random>

namespace {

enum Scheme { Bezier, Chaikin, BSpline, Proposed };

std::unique_ptr<Curve> make(Scheme scheme, ControlPoints *polygon)
{
    switch (scheme) {
    case Bezier: return std::make_unique<BezierCurve>(polygon);
    case Chaikin: return std::make_unique<ChaikinCurve>(polygon);
    case BSpline: return std::make_unique<BSplineCurve>(polygon);
    default: return std::make_unique<ProposedCurve>(polygon);
    }
}

// The result is a well-formed list of finite points.
::testing::AssertionResult sound(const Curve &curve)
{
    if (!curve.result)
        return ::testing::AssertionFailure() << "no result";
    if (const std::string problem = listProblem(*curve.result); !problem.empty())
        return ::testing::AssertionFailure() << problem;
    for (const Node<Point> *n = curve.result->head; n; n = n->next)
        if (!std::isfinite(n->item->position.x()) || !std::isfinite(n->item->position.y()))
            return ::testing::AssertionFailure() << "a point is not finite";
    if (!std::isfinite(curve.deltaArea))
        return ::testing::AssertionFailure() << "deltaArea is not finite";
    return ::testing::AssertionSuccess();
}

std::uint64_t expectedCount(Scheme scheme, std::uint64_t n, int level)
{
    for (int k = 0; k < level; ++k)
        n *= scheme == Proposed ? 3 : 2;
    return n;
}

} // namespace

// u at both ends of the slider's range on every scheme, on a closed and an
// open polygon: the closed schemes keep their point counts, the Bezier
// splitting ends (u <= 0 is kept inside (0, 1) for the split).
TEST(BadInputTest, ExtremeWeightsOnEveryScheme)
{
    for (const double u : {-1.0, -0.01, 0.01, 0.99}) {
        for (const bool closed : {true, false}) {
            for (const Scheme scheme : {Bezier, Chaikin, BSpline, Proposed}) {
                SCOPED_TRACE(testing::Message() << "u " << u << " closed " << closed << " scheme " << scheme);
                Polygon polygon(polygons::star(), closed);
                const auto curve = make(scheme, &polygon.control);
                curve->setU(u);
                curve->level = 4;
                curve->precision = 0.05;
                refine(*curve);
                ASSERT_TRUE(sound(*curve));
                if (scheme != Bezier) {
                    EXPECT_EQ(curve->result->count, closed ? expectedCount(scheme, 10, 4) : 10u);
                }
                EXPECT_FALSE(curve->limited);
            }
        }
    }
}

// Two hundred points at the finest precision, open and closed, with the
// split parameter in the middle and near an end.
TEST(BadInputTest, BezierOfTwoHundredPointsAtFinestPrecision)
{
    std::mt19937 random(2003);
    std::uniform_real_distribution<double> coordinate(-9.5, 9.5);
    std::vector<Vector> crowd;
    for (int i = 0; i < 200; ++i)
        crowd.emplace_back(coordinate(random), coordinate(random));
    for (const double u : {0.5, 0.01, -1.0}) {
        for (const bool closed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "u " << u << " closed " << closed);
            Polygon polygon(crowd, closed);
            BezierCurve curve(&polygon.control);
            curve.setU(u);
            curve.precision = 0.05;
            refine(curve);
            ASSERT_TRUE(sound(curve));
            const std::uint64_t m = closed ? 201 : 200;
            EXPECT_EQ((curve.result->count - m) % (m - 1), 0u) << "every split adds m - 1 points";
            EXPECT_EQ(curve.result->head->item->position, crowd.front());
            EXPECT_EQ(curve.result->tail->item->position, closed ? crowd.front() : crowd.back());
        }
    }
}

// Points on top of each other: zero-length edges and zero-area corners.
TEST(BadInputTest, CoincidentPoints)
{
    const std::vector<Vector> doubled = {{1, 1}, {1, 1}, {4, 1}, {4, 1}, {2, 5}};
    for (const Scheme scheme : {Bezier, Chaikin, BSpline, Proposed}) {
        SCOPED_TRACE(scheme);
        Polygon polygon(doubled, true);
        const auto curve = make(scheme, &polygon.control);
        curve->level = 5;
        refine(*curve);
        ASSERT_TRUE(sound(*curve));
        if (scheme != Bezier) {
            EXPECT_EQ(curve->result->count, expectedCount(scheme, 5, 5));
        }
    }
}

// The highest level the panel offers stops a tripling scheme at the point
// budget too (the doubling ones share the same pass loop, tested with
// Chaikin), with exactly the rule's result for the level reached.
TEST(BadInputTest, HighestLevelStopsAtThePointBudget)
{
    Polygon polygon(polygons::unitSquare(), true);
    ProposedCurve curve(&polygon.control);
    curve.level = 99;
    refine(curve);
    EXPECT_TRUE(curve.limited);
    EXPECT_EQ(curve.reachedLevel, 12) << "4 * 3^13 points would exceed the budget";
    EXPECT_EQ(curve.result->count, expectedCount(Proposed, 4, 12));
    EXPECT_GT(3 * curve.result->count, Curve::pointBudget);
    EXPECT_EQ(curve.level, 99) << "the setting itself is kept";
}
