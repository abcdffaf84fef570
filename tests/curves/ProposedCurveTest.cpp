#include "CurveTesting.h"

#include "curves/ProposedCurve.h"

namespace {

TEST(ProposedCurveTest, UnitSquareOnePass)
{
    Polygon square(polygons::unitSquare(), true);
    ProposedCurve curve(&square.control);
    curve.level = 1;
    refine(curve);
    const std::vector<Vector> expected = {{0, 0.125},     {0.125, 0.125}, {0.125, 0},     {0.875, 0},
                                          {0.875, 0.125}, {1, 0.125},     {1, 0.875},     {0.875, 0.875},
                                          {0.875, 1},     {0.125, 1},     {0.125, 0.875}, {0, 0.875}};
    EXPECT_TRUE(pointsNear(positionsOf(*curve.result), expected, 0.0));
}

// Every u uses the stencil's weights of before, P and after for all three
// new points at once.
TEST(ProposedCurveTest, StencilWeightsFollowU)
{
    const std::vector<Vector> c = polygons::pentagon();
    const std::size_t n = c.size();
    for (double u : {0.5, 0.2, 0.99, 0.01, -1.0}) {
        Polygon pentagon(c, true);
        ProposedCurve curve(&pentagon.control);
        curve.setU(u);
        curve.level = 1;
        refine(curve);
        std::vector<Vector> expected;
        for (std::size_t j = 0; j < n; ++j) {
            const Vector &before = c[(j + n - 1) % n];
            const Vector &p = c[j];
            const Vector &after = c[(j + 1) % n];
            expected.push_back(before * (u / 4) + p * (1 - u / 4));
            expected.push_back(before * ((1 - u) / 4) + p * ((1 + u) / 2) + after * ((1 - u) / 4));
            expected.push_back(p * (1 - u / 4) + after * (u / 4));
        }
        EXPECT_TRUE(pointsNear(positionsOf(*curve.result), expected, 1e-12)) << "u = " << u;
    }
}

TEST(ProposedCurveTest, DeltaAreaLeavesTheCurvesOwnAreaAsFinal)
{
    for (const auto &points : {polygons::star(), polygons::pentagon(), polygons::unitSquare()}) {
        Polygon polygon(points, true);
        ProposedCurve curve(&polygon.control);
        const double polygonArea = polygon.control.area();
        refine(curve);
        EXPECT_EQ(curve.deltaArea, 0.0) << "level 0 is the polygon itself";
        curve.level = 3;
        refine(curve);
        EXPECT_NEAR(polygonArea - curve.deltaArea, clockwiseArea(positionsOf(*curve.result)), 1e-9);
        EXPECT_NE(curve.deltaArea, 0.0);
    }
}

} // namespace
