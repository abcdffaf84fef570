#include "CurveTesting.h"

#include "curves/ChaikinCurve.h"

namespace {

TEST(ChaikinCurveTest, UnitSquareOnePass)
{
    Polygon square(polygons::unitSquare(), true);
    ChaikinCurve curve(&square.control);
    curve.level = 1;
    const double polygonArea = square.control.area();
    refine(curve);
    const std::vector<Vector> expected = {{0, 0.25}, {0.25, 0},    {0.75, 0}, {1, 0.25},
                                          {1, 0.75}, {0.75, 1},    {0.25, 1}, {0, 0.75}};
    EXPECT_TRUE(pointsNear(positionsOf(*curve.result), expected, 0.0));
    EXPECT_EQ(curve.deltaArea, -0.125);
    EXPECT_EQ(polygonArea, -1.0);
    EXPECT_EQ(polygonArea - curve.deltaArea, -0.875);
}

TEST(ChaikinCurveTest, LevelZeroIsThePolygonItself)
{
    Polygon star(polygons::star(), true);
    ChaikinCurve curve(&star.control);
    curve.deltaArea = 3.0;
    refine(curve);
    EXPECT_TRUE(pointsNear(positionsOf(*curve.result), polygons::star(), 0.0));
    EXPECT_EQ(curve.deltaArea, 0.0);
}

TEST(ChaikinCurveTest, HalfWeightMakesEveryEdgeMidpointTwice)
{
    Polygon pentagon(polygons::pentagon(), true);
    ChaikinCurve curve(&pentagon.control);
    curve.setU(0.5);
    curve.level = 1;
    refine(curve);
    const std::vector<Vector> points = positionsOf(*curve.result);
    const std::vector<Vector> corners = polygons::pentagon();
    ASSERT_EQ(points.size(), 2 * corners.size());
    for (std::size_t j = 0; j < corners.size(); ++j) {
        const Vector midpoint = (corners[j] + corners[(j + 1) % corners.size()]) * 0.5;
        EXPECT_LT(distance(points[2 * j + 1], midpoint), 1e-12) << "B of corner " << j + 1;
        EXPECT_LT(distance(points[(2 * j + 2) % points.size()], midpoint), 1e-12) << "A of corner " << j + 2;
    }
}

// The cut-off triangles account exactly for the area lost, for convex and
// concave polygons, any weight and any number of passes.
TEST(ChaikinCurveTest, DeltaAreaIsTheAreaCutOff)
{
    for (double u : {0.75, 0.5, 0.9, -0.5}) {
        for (const auto &points : {polygons::star(), polygons::pentagon(), polygons::triangle()}) {
            Polygon polygon(points, true);
            ChaikinCurve curve(&polygon.control);
            curve.setU(u);
            curve.level = 4;
            const double polygonArea = polygon.control.area();
            refine(curve);
            EXPECT_NEAR(polygonArea - curve.deltaArea, clockwiseArea(positionsOf(*curve.result)), 1e-9)
                << "u = " << u;
        }
    }
}

} // namespace
