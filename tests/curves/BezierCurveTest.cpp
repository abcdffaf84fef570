#include "CurveTesting.h"

#include <algorithm>
#include <limits>

#include "curves/BezierCurve.h"

namespace {

// The Bezier curve of a control polygon evaluated from its Bernstein
// polynomials, independently of de Casteljau's construction.
struct Bernstein
{
    std::vector<Vector> c;

    static double binomial(int n, int k)
    {
        double value = 1.0;
        for (int i = 1; i <= k; ++i)
            value = value * (n - k + i) / i;
        return value;
    }

    static Vector sum(const std::vector<Vector> &points, double t)
    {
        const int n = static_cast<int>(points.size()) - 1;
        Vector total;
        for (int i = 0; i <= n; ++i)
            total = total + points[static_cast<std::size_t>(i)] *
                                (binomial(n, i) * std::pow(t, i) * std::pow(1.0 - t, n - i));
        return total;
    }

    Vector at(double t) const { return sum(c, t); }

    Vector derivative(double t) const
    {
        std::vector<Vector> hodograph;
        const double degree = double(c.size() - 1);
        for (std::size_t i = 0; i + 1 < c.size(); ++i)
            hodograph.push_back(c[i + 1] * degree + c[i] * -degree);
        return sum(hodograph, t);
    }

    // Parameter from `from` on of the curve point nearest to p: the best of
    // a dense sampling, refined by Gauss-Newton steps.
    double nearestParameter(const Vector &p, double from) const
    {
        constexpr int samples = 4000;
        double best = from;
        double bestDistance = std::numeric_limits<double>::max();
        for (int k = 0; k <= samples; ++k) {
            const double t = from + (1.0 - from) * k / samples;
            const double d = distanceXY(at(t), p);
            if (d < bestDistance) {
                bestDistance = d;
                best = t;
            }
        }
        for (int step = 0; step < 40; ++step) {
            const Vector q = at(best);
            const Vector d = derivative(best);
            const double speed = d.x() * d.x() + d.y() * d.y();
            if (speed == 0.0)
                break;
            const double change = (d.x() * (q.x() - p.x()) + d.y() * (q.y() - p.y())) / speed;
            best = std::clamp(best - change, from, 1.0);
        }
        return best;
    }
};

struct Split
{
    BezierCurve curve;
    std::vector<Vector> points;
    Split(ControlPoints &control, double u, double precision) : curve(&control)
    {
        curve.setU(u);
        curve.precision = precision;
        refine(curve);
        points = positionsOf(*curve.result);
    }
};

TEST(BezierCurveTest, QuadraticSplitOnce)
{
    Polygon polygon({{0, 0}, {2, 0}, {2, 2}}, false);
    Split split(polygon.control, 0.5, 1.5);
    const std::vector<Vector> expected = {{0, 0}, {1, 0}, {1.5, 0.5}, {2, 1}, {2, 2}};
    EXPECT_TRUE(pointsNear(split.points, expected, 0.0));
    std::vector<int> levels;
    for (const Node<Point> *n = split.curve.result->head; n; n = n->next)
        levels.push_back(n->item->level);
    EXPECT_EQ(levels, (std::vector<int>{0, 1, 1, 1, 0}));
    EXPECT_EQ(split.curve.reachedLevel, 1);
    EXPECT_FALSE(split.curve.limited);
}

TEST(BezierCurveTest, EdgesNoLongerThanPrecisionAreNotSplit)
{
    Polygon open({{0, 0}, {0.5, 0}, {0.5, 0.5}}, false);
    EXPECT_EQ(Split(open.control, 0.5, 0.5).points, (std::vector<Vector>{{0, 0}, {0.5, 0}, {0.5, 0.5}}));
    EXPECT_GT(Split(open.control, 0.5, 0.49).points.size(), 3u);

    // Closed: the first point is repeated at the end and nothing else made.
    Polygon closed({{0, 0}, {0.5, 0}, {0.5, 0.5}}, true);
    EXPECT_EQ(Split(closed.control, 0.5, 0.75).points,
              (std::vector<Vector>{{0, 0}, {0.5, 0}, {0.5, 0.5}, {0, 0}}));
}

// Every split leaves pieces of n points sharing their end points; those lie
// on the Bezier curve in curve order, and each piece is the control polygon
// of the part of the curve between its ends.
TEST(BezierCurveTest, PiecesLieOnTheBernsteinCurve)
{
    struct Case
    {
        std::vector<Vector> polygon;
        bool closed;
        double u;
    };
    const std::vector<Case> cases = {
        {polygons::pentagon(), false, 0.5}, {polygons::pentagon(), true, 0.3},
        {polygons::triangle(), false, 0.01}, {polygons::unitSquare(), true, 0.01},
        {polygons::collinear(), false, 0.7}, {polygons::triangle(), true, 0.5},
    };
    for (const Case &test : cases) {
        Polygon polygon(test.polygon, test.closed);
        Split split(polygon.control, test.u, 0.2);
        Bernstein reference{test.polygon};
        if (test.closed)
            reference.c.push_back(test.polygon.front());
        const std::size_t n = reference.c.size();
        const std::vector<Vector> &points = split.points;
        SCOPED_TRACE(testing::Message() << n << " points, closed " << test.closed << ", u " << test.u);

        ASSERT_EQ((points.size() - 1) % (n - 1), 0u);
        EXPECT_EQ(points.front(), reference.c.front());
        EXPECT_EQ(points.back(), reference.c.back());
        // Piece ends are searched in curve order, which a closed curve
        // needs: its last point is also at parameter 0.
        double ta = 0.0;
        for (std::size_t start = 0; start + 1 < points.size(); start += n - 1) {
            const std::size_t end = start + n - 1;
            const double tb = end + 1 == points.size() ? 1.0 : reference.nearestParameter(points[end], ta);
            EXPECT_LT(distanceXY(reference.at(tb), points[end]), 1e-9) << "piece end " << end;
            EXPECT_GT(tb, ta);
            const std::vector<Vector> piece(points.begin() + long(start), points.begin() + long(start + n));
            for (double s : {0.25, 0.5, 0.75})
                EXPECT_LT(distanceXY(Bernstein{piece}.at(s), reference.at(ta + s * (tb - ta))), 1e-8);
            for (std::size_t i = start; i < end; ++i)
                EXPECT_LE(distance(points[i], points[i + 1]), 0.2);
            ta = tb;
        }
    }
}

TEST(BezierCurveTest, DeeperSplitsForFinerPrecision)
{
    Polygon polygon(polygons::pentagon(), false);
    int previous = 0;
    for (double precision : {4.0, 1.0, 0.25, 0.05}) {
        Split split(polygon.control, 0.5, precision);
        int deepest = 0;
        for (const Node<Point> *n = split.curve.result->head; n; n = n->next)
            deepest = std::max(deepest, n->item->level);
        EXPECT_EQ(deepest, split.curve.reachedLevel);
        EXPECT_GT(deepest, previous) << "precision " << precision;
        previous = deepest;
    }
    EXPECT_EQ(polygon.control.points.head->item->level, 0);
}

// Split parameters near the ends keep one side almost whole, so hundreds
// of successive splits are needed; u outside (0, 1) is split as its nearest
// bound and stays stored as given.
TEST(BezierCurveTest, ExtremeWeightsTerminate)
{
    Polygon polygon(polygons::triangle(), false);
    const Split nearZero(polygon.control, 0.01, 0.2);
    EXPECT_GT(nearZero.curve.reachedLevel, 100);
    const Split negative(polygon.control, -1.0, 0.2);
    EXPECT_EQ(negative.curve.u(), -1.0);
    EXPECT_EQ(negative.points, nearZero.points);
    const Split beyondOne(polygon.control, 1.5, 0.2);
    EXPECT_EQ(beyondOne.points, Split(polygon.control, 0.99, 0.2).points);
}

TEST(BezierCurveTest, DeltaAreaLeavesTheCurvesOwnAreaAsFinal)
{
    Polygon polygon(polygons::star(), true);
    const double polygonArea = polygon.control.area();
    Split closed(polygon.control, 0.5, 0.2);
    EXPECT_NEAR(polygonArea - closed.curve.deltaArea, clockwiseArea(closed.points), 1e-9);
    EXPECT_GT(std::abs(closed.curve.deltaArea), 1e-3);

    polygon.control.closed = false;
    refine(closed.curve);
    EXPECT_EQ(closed.curve.deltaArea, 0.0);
}

} // namespace
