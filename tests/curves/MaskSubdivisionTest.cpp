#include "CurveTesting.h"

#include "curves/BSplineCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/MaskPresets.h"
#include "curves/MaskRefinement.h"
#include "curves/MaskSubdivision.h"
#include "curves/ProposedCurve.h"

#include <random>

namespace {

// The rule written out for an open polygon continued along its end edges:
// p_j for any j, and one pass over the indices asked for.
Vector extended(const std::vector<Vector> &p, std::int64_t j)
{
    const auto last = std::int64_t(p.size()) - 1;
    if (j < 0)
        return {p[0].x() + j * (p[1].x() - p[0].x()), p[0].y() + j * (p[1].y() - p[0].y())};
    if (j > last)
        return {p[std::size_t(last)].x() + (j - last) * (p[std::size_t(last)].x() - p[std::size_t(last - 1)].x()),
                p[std::size_t(last)].y() + (j - last) * (p[std::size_t(last)].y() - p[std::size_t(last - 1)].y())};
    return p[std::size_t(j)];
}

} // namespace

// A closed loop refined by MaskSubdivision is MaskRefinement's loop bit for
// bit, for masks of either arity, also with ghosts carried along.
TEST(MaskSubdivisionTest, ClosedLoopIsTheMaskRefinementsLoop)
{
    for (const Mask &mask : {MaskPresets::fourPoint(0.1), MaskPresets::bspline(3, 3), MaskPresets::sixPoint(),
                             ProposedCurve::maskAt(0.3)}) {
        const std::vector<Vector> polygon = polygons::star();
        const MaskRefinement::Level expected = MaskRefinement(mask).refine(polygon, 4);
        const MaskSubdivision::Level made = MaskSubdivision(mask).refine(polygon, true, 4, Curve::pointBudget);
        EXPECT_EQ(made.points, expected.points) << mask.text();
        EXPECT_EQ(made.outcome.written.first, 0);
        EXPECT_EQ(made.outcome.reached, 4);
    }
}

// An open polygon: every kept point is the rule applied to the polygon
// continued along its end edges, level by level from an independent
// evaluation of the whole extended sequence.
TEST(MaskSubdivisionTest, OpenLevelsFollowTheExtendedRule)
{
    const Mask mask = MaskPresets::fourPoint(MaskPresets::fourPointTension);
    const std::vector<Vector> polygon = polygons::pentagon();
    const MaskSubdivision subdivision(mask);
    // Level 0 from p_-40 to p_44 and three passes over all of it: far
    // enough from the ends that the kept points see a full stencil.
    std::int64_t first = -40;
    std::vector<Vector> level;
    for (std::int64_t j = first; j <= 44; ++j)
        level.push_back(extended(polygon, j));
    const std::vector<double> &a = mask.coefficients();
    for (int k = 1; k <= 3; ++k) {
        std::vector<Vector> next;
        const std::int64_t nextFirst = 2 * first + std::int64_t(a.size());
        const std::int64_t nextLast = 2 * (first + std::int64_t(level.size()) - 1);
        for (std::int64_t i = nextFirst; i <= nextLast; ++i) {
            Vector sum;
            for (std::int64_t j = first; j < first + std::int64_t(level.size()); ++j)
                if (i - 2 * j >= 0 && i - 2 * j < std::int64_t(a.size()))
                    sum = sum + level[std::size_t(j - first)] * a[std::size_t(i - 2 * j)];
            next.push_back(sum);
        }
        level = next;
        first = nextFirst;
        const MaskSubdivision::Level made = subdivision.refine(polygon, false, k, Curve::pointBudget);
        const MaskSubdivision::Range kept = made.outcome.written;
        EXPECT_EQ(kept.size(), std::uint64_t(4 << k) + 1) << "from the first control point's parameter to the last's";
        ASSERT_GE(kept.first, first);
        const std::vector<Vector> expected(level.begin() + (kept.first - first),
                                           level.begin() + (kept.first - first) + long(kept.size()));
        EXPECT_TRUE(pointsNear(made.points, expected, 1e-12)) << "level " << k;
    }
}

// With open ends, a scheme that reproduces straight lines starts and ends
// its level-6 curve within 1% of the end edge's length of the end points.
TEST(MaskSubdivisionTest, OpenCurveRunsFromTheFirstPointToTheLast)
{
    const std::vector<Vector> polygon = {{-6, -4}, {-7, 4}, {-1, 7}, {5, 5}, {7, -2}};
    const double firstEdge = distanceXY(polygon[0], polygon[1]);
    const double lastEdge = distanceXY(polygon[3], polygon[4]);
    for (const Mask &mask : {ChaikinCurve::maskAt(0.75), BSplineCurve::maskAt(0.5), MaskPresets::fourPoint(0.0625),
                             MaskPresets::sixPoint(), MaskPresets::bspline(5, 2), MaskPresets::bspline(2, 3)}) {
        const MaskSubdivision::Level made = MaskSubdivision(mask).refine(polygon, false, 6, Curve::pointBudget);
        ASSERT_EQ(made.outcome.reached, 6);
        EXPECT_LE(distanceXY(made.points.front(), polygon.front()), 0.01 * firstEdge) << mask.text();
        EXPECT_LE(distanceXY(made.points.back(), polygon.back()), 0.01 * lastEdge) << mask.text();
    }
}

TEST(MaskSubdivisionTest, CountsLimitsAndDivergence)
{
    const MaskSubdivision binary(MaskPresets::fourPoint(0.0625));
    EXPECT_EQ(binary.keptRange(5, 3, true).size(), 40u);
    EXPECT_EQ(binary.keptRange(5, 3, false).size(), 33u);
    EXPECT_EQ(binary.keptRange(5, 3, false, 2).size(), 37u);
    EXPECT_EQ(binary.reachable(5, 10, true, 5 * 64), 6);
    EXPECT_EQ(binary.reachable(5, 10, false, 5 * 64), 6);
    EXPECT_EQ(binary.reachable(5, 10, false, 4 * 128), 6) << "4 x 128 + 1 points at level 7";

    // A mask whose points grow threefold a pass stops before they could
    // pass the largest coordinate, at the level the bound allows.
    const MaskSubdivision growing(Mask(2, {-1, 2, 2, -1}));
    const MaskSubdivision::Level made = growing.refine(polygons::pentagon(), true, 18, Curve::pointBudget);
    EXPECT_TRUE(made.outcome.diverged);
    EXPECT_FALSE(made.outcome.limited);
    EXPECT_LT(made.outcome.reached, 18);
    double largest = 0;
    for (const Vector &p : made.points)
        largest = std::max({largest, std::abs(p.x()), std::abs(p.y())});
    EXPECT_LE(largest, MaskSubdivision::largestCoordinate);
    EXPECT_EQ(made.points.size(), 5u << made.outcome.reached);
}
