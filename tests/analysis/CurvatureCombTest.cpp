#include "curves/CurveTesting.h"

#include "analysis/CurvatureComb.h"

namespace {

const double pi = std::acos(-1.0);

// Owns the points of a list made from positions.
struct Points
{
    explicit Points(const std::vector<Vector> &positions)
    {
        for (const Vector &p : positions)
            list.append(new Point(p), 0);
    }
    ~Points()
    {
        for (Node<Point> *n = list.head; n; n = n->next)
            delete n->item;
    }
    List<Point> list;
};

std::vector<Vector> circle(double radius, int count, bool clockwise)
{
    std::vector<Vector> points;
    for (int k = 0; k < count; ++k) {
        const double a = 2 * pi * k / count * (clockwise ? -1 : 1);
        points.emplace_back(2 + radius * std::cos(a), 1 + radius * std::sin(a));
    }
    return points;
}

// Teeth on a circle stand outside it, scale / r long, whichever way the
// circle runs, at every point or every stride-th one; too long ones are
// cut; doubled points (Chaikin at u = 0.5) measure their place.
TEST(CurvatureCombTest, CirclesGetTeethOfScaleOverRadiusOutside)
{
    struct Case
    {
        double radius;
        bool clockwise, doubled;
        double scale, longest;
        std::size_t maxTeeth, teeth, stride;
        double length;
    };
    const Case cases[] = {
        {2.0, false, false, 1.0, 10.0, 1000, 400, 1, 0.5},
        {2.0, true, false, 1.0, 10.0, 1000, 400, 1, 0.5},
        {0.5, false, false, 3.0, 10.0, 150, 134, 3, 6.0},
        {0.5, false, false, 3.0, 1.0, 1000, 400, 1, 1.0},
        {4.0, true, true, 8.0, 10.0, 1000, 800, 1, 2.0},
    };
    for (const Case &c : cases) {
        std::vector<Vector> positions = circle(c.radius, 400, c.clockwise);
        if (c.doubled) {
            std::vector<Vector> twice;
            for (const Vector &p : positions)
                twice.insert(twice.end(), {p, p});
            positions = twice;
        }
        Points points(positions);
        const CurvatureComb comb = CurvatureComb::along(points.list, true, c.scale, c.longest, c.maxTeeth);
        ASSERT_EQ(comb.teeth.size(), c.teeth);
        EXPECT_EQ(comb.stride, c.stride);
        EXPECT_TRUE(comb.closed);
        for (std::size_t i = 0; i < comb.teeth.size(); ++i) {
            const CurvatureComb::Tooth &t = comb.teeth[i];
            EXPECT_TRUE(pointsNear({t.base}, {positions[i * c.stride]}));
            EXPECT_NEAR(distance(t.base, t.tip), c.length, 1e-4 * c.length) << "tooth " << i;
            // Outside: the tip lies beyond the base, seen from the centre.
            EXPECT_NEAR(distance(t.tip, Vector(2, 1)), c.radius + c.length, 1e-4 * c.length) << "tooth " << i;
            EXPECT_NEAR(std::abs(t.curvature), 1 / c.radius, 1e-4 / c.radius);
        }
    }
}

// An S: the teeth change side where the curve turns the other way; the
// ends of an open curve have teeth like their inner neighbours; a
// straight run has none.
TEST(CurvatureCombTest, TeethChangeSideAtAnInflection)
{
    std::vector<Vector> s;
    for (int k = 0; k <= 100; ++k) {
        const double a = pi * k / 100;
        s.emplace_back(std::cos(a) - 1, std::sin(a)); // left half: turns left
    }
    for (int k = 1; k <= 100; ++k) {
        const double a = -pi * k / 100;
        s.emplace_back(std::cos(a) - 3, std::sin(a)); // then turns right
    }
    s.emplace_back(-4.5, 0);
    s.emplace_back(-5, 0); // straight end
    Points points(s);
    const CurvatureComb comb = CurvatureComb::along(points.list, false, 1.0, 5.0, 1000);
    ASSERT_EQ(comb.teeth.size(), s.size());
    EXPECT_FALSE(comb.closed);
    EXPECT_GT(comb.teeth[50].curvature, 0.99);
    EXPECT_LT(comb.teeth[150].curvature, -0.99);
    // The left turn's teeth point away from its centre (-1, 0), the right
    // turn's away from (-3, 0).
    EXPECT_NEAR(distance(comb.teeth[50].tip, Vector(-1, 0)), 2.0, 1e-3);
    EXPECT_NEAR(distance(comb.teeth[150].tip, Vector(-3, 0)), 2.0, 1e-3);
    EXPECT_NEAR(comb.teeth[0].curvature, comb.teeth[1].curvature, 1e-12);
    EXPECT_NEAR(comb.teeth.back().curvature, 0.0, 1e-12);
    EXPECT_TRUE(pointsNear({comb.teeth.back().tip}, {s.back()}));
}

} // namespace

// With a spacing, teeth stand that far apart along the curve at least,
// wherever the points crowd, and measure the curvature as without it.
TEST(CurvatureCombTest, ASpacingThinsTheTeeth)
{
    // A circle of radius 2 (circumference 12.57) of 40,000 points, teeth
    // 0.5 apart along it (within a stride of 3 points): about 25.
    const std::vector<Vector> positions = circle(2.0, 40000, false);
    Points points(positions);
    const CurvatureComb comb = CurvatureComb::along(points.list, true, 1.0, 10.0, 16384, 0.5);
    EXPECT_EQ(comb.stride, 3u);
    ASSERT_GE(comb.teeth.size(), 25u);
    ASSERT_LE(comb.teeth.size(), 26u);
    for (std::size_t i = 1; i < comb.teeth.size(); ++i) {
        const double arc = 2 * 2 * std::asin(distance(comb.teeth[i].base, comb.teeth[i - 1].base) / 4);
        EXPECT_GE(arc, 0.5);
        EXPECT_LT(arc, 0.502);
        EXPECT_NEAR(comb.teeth[i].curvature, 0.5, 1e-6);
    }
    // A spacing below the points' own keeps every tooth.
    EXPECT_EQ(CurvatureComb::along(points.list, true, 1.0, 10.0, 40000, 1e-6).teeth.size(), 40000u);
}
