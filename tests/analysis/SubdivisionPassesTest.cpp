#include "curves/CurveTesting.h"

#include "analysis/SubdivisionPasses.h"

#include <algorithm>
#include <memory>

namespace {

using Role = SubdivisionPasses::Role;

// One pass of the scheme class on `from` taken as a control polygon,
// with each point's role told by object identity: a point of the result
// that is one of the copies of `from` was moved, any other was inserted.
std::vector<Role> rolesByIdentity(int scheme, double u, const std::vector<Vector> &from)
{
    SchemeSetup setup;
    setup.scheme = scheme;
    setup.u = u;
    setup.level = 1;
    Polygon polygon(from, true);
    const std::unique_ptr<Curve> curve = setup.makeCurve(&polygon.control);
    curve->rebuildResult();
    std::vector<const Point *> before;
    for (const Node<Point> *n = curve->result->head; n; n = n->next)
        before.push_back(n->item);
    curve->subdivide();
    std::vector<Role> roles;
    for (const Node<Point> *n = curve->result->head; n; n = n->next) {
        const bool kept = std::find(before.begin(), before.end(), n->item) != before.end();
        roles.push_back(kept ? Role::Moved : Role::Inserted);
    }
    return roles;
}

TEST(SubdivisionPassesTest, LevelsAndRolesOfTheLastPass)
{
    struct Case
    {
        int scheme;
        double u;
        std::size_t lastCount;
    };
    const Case cases[] = {{SchemeSetup::Chaikin, 0.75, 16}, {SchemeSetup::BSpline, 0.5, 16}, {SchemeSetup::Proposed, 0.3, 36}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.scheme);
        SchemeSetup setup;
        setup.scheme = c.scheme;
        setup.u = c.u;
        setup.polygon = polygons::unitSquare();
        setup.closed = true;
        setup.level = 2;
        const SubdivisionPasses passes = SubdivisionPasses::make(setup);
        EXPECT_EQ(passes.level, 2);
        EXPECT_FALSE(passes.limited || passes.bounded);
        ASSERT_EQ(passes.polygons.size(), 2u);
        EXPECT_EQ(passes.polygons[0], polygons::unitSquare());
        ASSERT_EQ(passes.last.size(), c.lastCount);
        ASSERT_EQ(passes.roles.size(), c.lastCount);

        // The polygon of level 1 refined once more is the last level.
        Polygon level1(passes.polygons[1], true);
        const std::unique_ptr<Curve> curve = setup.makeCurve(&level1.control);
        curve->level = 1;
        refine(*curve);
        EXPECT_TRUE(pointsNear(passes.last, positionsOf(*curve->result), 0.0));

        std::vector<Role> expected = rolesByIdentity(c.scheme, c.u, passes.polygons[1]);
        if (c.scheme == SchemeSetup::Chaikin) {
            // The corner's object takes its first cut point, which is new
            // all the same: Chaikin moves nothing.
            expected.assign(c.lastCount, Role::Inserted);
        }
        EXPECT_EQ(passes.roles, expected);
    }
}

TEST(SubdivisionPassesTest, BoundsAndSchemesWithoutPasses)
{
    SchemeSetup setup;
    setup.scheme = SchemeSetup::BSpline;
    setup.polygon = polygons::star();
    setup.closed = true;
    setup.level = 5;
    const SubdivisionPasses bounded = SubdivisionPasses::make(setup, 100);
    EXPECT_TRUE(bounded.bounded);
    EXPECT_EQ(bounded.polygons.size(), 3u) << "10 + 20 + 40 points fit, 80 more do not";
    EXPECT_TRUE(bounded.last.empty());
    EXPECT_TRUE(bounded.roles.empty());
    EXPECT_EQ(bounded.level, 5);

    // A curve's share of the point budget stops its passes where the
    // view's curve stops, and goes with its settings both ways.
    setup.pointLimit = 100;
    const SubdivisionPasses shared = SubdivisionPasses::make(setup);
    EXPECT_EQ(shared.level, 3);
    EXPECT_TRUE(shared.limited);
    EXPECT_EQ(shared.last.size(), 80u);
    Polygon star(polygons::star(), true);
    EXPECT_EQ(SchemeSetup::of(*setup.makeCurve(&star.control)).pointLimit, 100u);
    setup.pointLimit = Curve::pointBudget;

    setup.level = 0;
    const SubdivisionPasses none = SubdivisionPasses::make(setup);
    EXPECT_TRUE(none.polygons.empty());
    EXPECT_EQ(none.last, polygons::star());
    EXPECT_TRUE(none.roles.empty());

    setup.level = 3;
    setup.closed = false;
    EXPECT_TRUE(SubdivisionPasses::make(setup).last.empty());
    setup.closed = true;
    setup.scheme = SchemeSetup::Bezier;
    EXPECT_TRUE(SubdivisionPasses::make(setup).last.empty());
}

// An interpolating mask keeps the points of the level before: they, and
// only they, are the moved points of its last pass (moved by nothing),
// on a closed polygon and on an open one with open ends.
TEST(SubdivisionPassesTest, InterpolatingMaskKeepsItsOldPoints)
{
    for (const bool closed : {true, false}) {
        SchemeSetup setup;
        setup.scheme = SchemeSetup::Custom;
        setup.customMask = MaskPresets::sixPoint();
        setup.polygon = polygons::star();
        setup.closed = closed;
        setup.openEnds = true;
        setup.level = 3;
        const SubdivisionPasses passes = SubdivisionPasses::make(setup);
        ASSERT_EQ(passes.level, 3);
        ASSERT_EQ(passes.roles.size(), passes.last.size());
        const std::vector<Vector> &before = passes.polygons[2];
        std::size_t moved = 0;
        for (std::size_t i = 0; i < passes.last.size(); ++i) {
            const bool old = std::find(before.begin(), before.end(), passes.last[i]) != before.end();
            EXPECT_EQ(passes.roles[i] == Role::Moved, old) << (closed ? "closed" : "open") << ", point " << i;
            moved += passes.roles[i] == Role::Moved;
        }
        EXPECT_EQ(moved, before.size());
    }
}

} // namespace
