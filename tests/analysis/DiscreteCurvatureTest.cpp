#include "curves/CurveTesting.h"

#include "analysis/DiscreteCurvature.h"

namespace {

const double pi = std::acos(-1.0);

std::vector<Vector> arc(double radius, double from, double to, int count, bool repeatLast = true)
{
    std::vector<Vector> points;
    const int steps = repeatLast ? count - 1 : count;
    for (int k = 0; k < count; ++k) {
        const double a = from + (to - from) * k / steps;
        points.emplace_back(1.0 + radius * std::cos(a), -2.0 + radius * std::sin(a));
    }
    return points;
}

// A finely sampled circle: 1/r counter-clockwise, -1/r clockwise, and
// curvature * normal pointing to the centre (1, -2) either way; an open
// arc's ends too.
TEST(DiscreteCurvatureTest, SampledCircles)
{
    struct Case
    {
        double radius;
        double from, to;
        bool closed;
        double expected;
    };
    const Case cases[] = {
        {0.5, 0, 2 * pi, true, 2.0},      {3.0, 0, 2 * pi, true, 1 / 3.0}, {3.0, 2 * pi, 0, true, -1 / 3.0},
        {0.5, 0.3, 2.0, false, 2.0},      {3.0, 2.0, 0.3, false, -1 / 3.0},
    };
    for (const Case &c : cases) {
        const std::vector<Vector> points = arc(c.radius, c.from, c.to, 2000, !c.closed);
        const auto samples = DiscreteCurvature::along(points, c.closed);
        ASSERT_EQ(samples.size(), points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_NEAR(samples[i].curvature, c.expected, 1e-6 * std::abs(c.expected)) << "point " << i;
            const Vector towardsCentre = (Vector(1.0, -2.0) + points[i] * -1.0) / c.radius;
            const Vector comb = samples[i].normal * (samples[i].curvature * c.radius);
            ASSERT_LT(distance(comb, towardsCentre), i == 0 || i + 1 == points.size() ? 2e-3 : 1e-6) << "point " << i;
        }
    }
}

TEST(DiscreteCurvatureTest, StraightRepeatedAndTooFewPoints)
{
    const std::vector<Vector> line = {{0, 0}, {0.5, 1}, {0.5, 1}, {2, 4}, {2.25, 4.5}, {3, 6}};
    for (const auto &sample : DiscreteCurvature::along(line, false)) {
        EXPECT_EQ(sample.curvature, 0.0);
        EXPECT_LT(distance(sample.normal, Vector(-2, 1) / std::sqrt(5.0)), 1e-12);
    }
    // Every point doubled, around the seam too: the square's curvature.
    const std::vector<Vector> doubled = {{1, 0}, {1, 1}, {1, 1}, {0, 1}, {0, 1}, {0, 0}, {0, 0}, {1, 0}};
    for (const auto &sample : DiscreteCurvature::along(doubled, true))
        EXPECT_NEAR(sample.curvature, std::sqrt(2.0), 1e-12);

    EXPECT_TRUE(DiscreteCurvature::along({}, true).empty());
    const auto single = DiscreteCurvature::along(std::vector<Vector>{{1, 1}, {1, 1}}, true);
    EXPECT_EQ(single[0].curvature, 0.0);
    EXPECT_EQ(single[1].normal, Vector());
    const auto spike = DiscreteCurvature::along(std::vector<Vector>{{0, 0}, {2, 0}}, true);
    EXPECT_EQ(spike[0].curvature, 0.0);
    EXPECT_EQ(spike[0].normal, Vector(0, 1));
}

} // namespace
