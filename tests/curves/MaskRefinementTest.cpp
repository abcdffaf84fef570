#include "CurveTesting.h"

#include "curves/BSplineCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/MaskRefinement.h"
#include "curves/ProposedCurve.h"

#include <functional>
#include <memory>
#include <random>

namespace {

struct Scheme
{
    const char *name;
    std::function<std::unique_ptr<Curve>(ControlPoints *)> make;
    std::function<Mask(double)> mask;
    std::uint64_t turn; // points the loop turns by per pass
};

template <typename T>
std::unique_ptr<Curve> makeScheme(ControlPoints *cp)
{
    return std::make_unique<T>(cp);
}

// Refined by its mask, a polygon gives each scheme's own points exactly,
// the mask's point i + s standing for the scheme's point i, where the turn
// s grows by m s + turn with every pass.
TEST(MaskRefinementTest, SchemeMasksGiveTheSchemesPointsBitForBit)
{
    const Scheme schemes[] = {
        {"Chaikin", makeScheme<ChaikinCurve>, ChaikinCurve::maskAt, 1},
        {"B-spline", makeScheme<BSplineCurve>, BSplineCurve::maskAt, 2},
        {"proposed", makeScheme<ProposedCurve>, ProposedCurve::maskAt, 2},
    };
    std::mt19937 random(19);
    std::uniform_real_distribution<double> coordinate(-9.0, 9.0);
    for (const Scheme &scheme : schemes) {
        for (const double u : {0.75, 0.5, 0.37, 0.01, -0.63, 0.99}) {
            std::vector<Vector> polygon;
            const int size = 3 + static_cast<int>(random() % 6);
            for (int i = 0; i < size; ++i)
                polygon.emplace_back(coordinate(random), coordinate(random));
            Polygon control(polygon, true);
            const std::unique_ptr<Curve> curve = scheme.make(&control.control);
            curve->setU(u);
            const MaskRefinement refinement(scheme.mask(u));
            const auto m = static_cast<std::uint64_t>(refinement.arity());
            std::uint64_t turn = 0;
            for (int level = 1; level <= (m == 2 ? 9 : 6); ++level) {
                SCOPED_TRACE(testing::Message() << scheme.name << " u " << u << " level " << level);
                turn = m * turn + scheme.turn;
                curve->level = level;
                refine(*curve);
                const std::vector<Vector> own = positionsOf(*curve->result);
                const MaskRefinement::Level made = refinement.refine(polygon, level);
                ASSERT_EQ(made.points.size(), own.size());
                std::size_t differing = 0;
                for (std::size_t i = 0; i < own.size(); ++i)
                    differing += !(made.points[(i + turn) % own.size()] == own[i]);
                EXPECT_EQ(differing, 0u);
            }
        }
    }
}

// The rule itself, against the sum written out: every old point spreads
// into m j .. m j + n, wrapping round a loop shorter than the mask.
TEST(MaskRefinementTest, EachOldPointSpreadsIntoItsNewPoints)
{
    const Mask mask(3, {1, 10, 100, 1000, 10000});
    const std::vector<Vector> loop = {{1, 0}, {0, 2}};
    std::vector<Vector> out;
    MaskRefinement(mask).pass(loop, out);
    ASSERT_EQ(out.size(), 6u);
    std::vector<Vector> expected(6, Vector(0, 0));
    for (std::size_t j = 0; j < loop.size(); ++j)
        for (std::size_t k = 0; k < mask.size(); ++k)
            expected[(3 * j + k) % 6] = expected[(3 * j + k) % 6] + loop[j] * mask.coefficients()[k];
    EXPECT_EQ(out, expected);
}

TEST(MaskRefinementTest, StopsAtThePointLimit)
{
    const MaskRefinement refinement(ProposedCurve::maskAt(0.5));
    const MaskRefinement::Level capped = refinement.refine(polygons::pentagon(), 10, 5 * 81);
    EXPECT_EQ(capped.reached, 4);
    EXPECT_TRUE(capped.limited);
    EXPECT_EQ(capped.points.size(), 5u * 81);
    const MaskRefinement::Level exact = refinement.refine(polygons::pentagon(), 4, 5 * 81);
    EXPECT_FALSE(exact.limited);
    EXPECT_EQ(exact.points, capped.points);
    EXPECT_TRUE(refinement.refine({}, 3).points.empty());
}

} // namespace
