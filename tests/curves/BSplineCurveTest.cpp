#include "CurveTesting.h"

#include <limits>

#include "curves/BSplineCurve.h"

namespace {

TEST(BSplineCurveTest, UnitSquareOnePass)
{
    Polygon square(polygons::unitSquare(), true);
    BSplineCurve curve(&square.control);
    curve.level = 1;
    const double polygonArea = square.control.area();
    refine(curve);
    const std::vector<Vector> expected = {{0.125, 0.125}, {0.5, 0}, {0.875, 0.125}, {1, 0.5},
                                          {0.875, 0.875}, {0.5, 1}, {0.125, 0.875}, {0, 0.5}};
    EXPECT_TRUE(pointsNear(positionsOf(*curve.result), expected, 0.0));
    EXPECT_EQ(curve.deltaArea, -0.25);
    EXPECT_EQ(polygonArea - curve.deltaArea, -0.75);
}

TEST(BSplineCurveTest, VerticesKeepTheirIdentityAndEdgePointsAreNew)
{
    Polygon triangle(polygons::triangle(), true);
    BSplineCurve curve(&triangle.control);
    curve.rebuildResult();
    std::vector<const Point *> vertices;
    for (const Node<Point> *n = curve.result->head; n; n = n->next)
        vertices.push_back(n->item);
    curve.level = 1;
    curve.subdivide();
    const Node<Point> *n = curve.result->head;
    for (const Point *vertex : vertices) {
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(n->item, vertex);
        n = n->next->next;
    }
}

TEST(BSplineCurveTest, FinalAreaIsTheCurvesOwnForEveryU)
{
    // Away from u = 0.5 the edge points leave the midpoints and the
    // triangles between successive polygons no longer add up.
    for (const double u : {0.5, 0.3, 0.99, -1.0}) {
        for (const auto &points : {polygons::star(), polygons::pentagon(), polygons::unitSquare()}) {
            Polygon polygon(points, true);
            BSplineCurve curve(&polygon.control);
            curve.level = 5;
            curve.setU(u);
            const double polygonArea = polygon.control.area();
            refine(curve);
            EXPECT_NEAR(polygonArea - curve.deltaArea, clockwiseArea(positionsOf(*curve.result)), 1e-9) << u;
        }
    }
}

// Uniform cubic B-spline of a closed polygon, evaluated directly from its
// basis functions, segment by segment.
Vector uniformCubic(const std::vector<Vector> &c, std::size_t segment, double t)
{
    const std::size_t n = c.size();
    const double s = 1.0 - t;
    const double b0 = s * s * s / 6.0;
    const double b1 = (3 * t * t * t - 6 * t * t + 4) / 6.0;
    const double b2 = (-3 * t * t * t + 3 * t * t + 3 * t + 1) / 6.0;
    const double b3 = t * t * t / 6.0;
    return c[(segment + n - 1) % n] * b0 + c[segment] * b1 + c[(segment + 1) % n] * b2 +
           c[(segment + 2) % n] * b3;
}

TEST(BSplineCurveTest, ConvergesToTheUniformCubicBSpline)
{
    for (const auto &control : {polygons::pentagon(), polygons::star()}) {
        std::vector<Vector> samples;
        constexpr int perSegment = 4000;
        for (std::size_t segment = 0; segment < control.size(); ++segment)
            for (int k = 0; k < perSegment; ++k)
                samples.push_back(uniformCubic(control, segment, double(k) / perSegment));
        Polygon polygon(control, true);
        BSplineCurve curve(&polygon.control);
        curve.level = 6;
        refine(curve);
        ASSERT_EQ(curve.result->count, control.size() * 64);
        double worst = 0.0;
        for (const Vector &p : positionsOf(*curve.result)) {
            double nearest = std::numeric_limits<double>::max();
            for (const Vector &q : samples)
                nearest = std::min(nearest, distanceXY(p, q));
            worst = std::max(worst, nearest);
        }
        EXPECT_LT(worst, 1e-3);
    }
}

} // namespace
