#include "curves/CurveTesting.h"

#include "analysis/BernsteinCurve.h"
#include "analysis/ClosedBSpline.h"

#include <memory>
#include <random>

namespace {

// Bernstein sum with binomials and powers, independent of the Horner form.
Vector bernstein(const std::vector<Vector> &c, double t)
{
    const int m = int(c.size()) - 1;
    Vector sum;
    double binomial = 1.0;
    for (int i = 0; i <= m; ++i) {
        sum = sum + c[std::size_t(i)] * (binomial * std::pow(t, i) * std::pow(1.0 - t, m - i));
        binomial = binomial * (m - i) / (i + 1);
    }
    return sum;
}

// de Casteljau's construction.
Vector deCasteljau(std::vector<Vector> row, double t)
{
    for (std::size_t k = row.size(); k-- > 1;)
        for (std::size_t i = 0; i < k; ++i)
            row[i] = row[i] * (1.0 - t) + row[i + 1] * t;
    return row[0];
}

std::vector<Vector> randomPolygon(int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-9.5, 9.5);
    std::vector<Vector> points;
    for (int i = 0; i < n; ++i)
        points.emplace_back(coordinate(random), coordinate(random));
    return points;
}

// The closed-form values at t = i and t = i + 1/2, as weights of
// P(i-1), P(i), P(i+1), P(i+2).
TEST(LimitCurveTest, ClosedBSplinesAtKnotsAndMidSpans)
{
    struct Case
    {
        int degree;
        double offset;
        double weights[4];
    };
    const Case cases[] = {
        {3, 0.0, {1 / 6.0, 4 / 6.0, 1 / 6.0, 0}},
        {3, 0.5, {1 / 48.0, 23 / 48.0, 23 / 48.0, 1 / 48.0}},
        {2, 0.0, {1 / 8.0, 6 / 8.0, 1 / 8.0, 0}},
        {2, 0.5, {0, 0.5, 0.5, 0}},
    };
    for (const auto &polygon : {polygons::pentagon(), polygons::star(), polygons::triangle()}) {
        const std::size_t n = polygon.size();
        for (const Case &c : cases) {
            const ClosedBSpline curve(polygon, c.degree);
            for (std::size_t i = 0; i < n; ++i) {
                Vector expected;
                for (std::size_t k = 0; k < 4; ++k)
                    expected = expected + polygon[(i + n - 1 + k) % n] * c.weights[k];
                const double t = double(i) + c.offset;
                EXPECT_LT(distance(curve.at(t), expected), 1e-12) << "degree " << c.degree << " t " << t;
                EXPECT_LT(distance(curve.at(t + double(n)), expected), 1e-12) << "one period on";
            }
        }
    }
}

TEST(LimitCurveTest, BezierIsTheBernsteinSum)
{
    struct Case
    {
        std::vector<Vector> polygon;
        bool closed;
    };
    const Case cases[] = {{polygons::pentagon(), false}, {polygons::pentagon(), true}, {{{1, 2}, {4, -1}}, false},
                          {randomPolygon(200, 2003), false}, {randomPolygon(300, 7), true}};
    for (const Case &c : cases) {
        const BernsteinCurve curve(c.polygon, c.closed);
        std::vector<Vector> q = c.polygon;
        if (c.closed)
            q.push_back(q.front());
        ASSERT_EQ(curve.degree(), q.size() - 1);
        for (double t : {0.0, 0.013, 0.25, 0.5, 0.71, 0.999, 1.0}) {
            SCOPED_TRACE(testing::Message() << q.size() << " points, t " << t);
            EXPECT_LT(distance(curve.at(t), bernstein(q, t)), 1e-11);
            EXPECT_LT(distance(curve.at(t), deCasteljau(q, t)), 1e-11);
        }
        EXPECT_EQ(curve.at(0.0), q.front());
        EXPECT_LT(distance(curve.at(1.0), q.back()), 1e-12);
    }
}

// Thousands of control points on the parabola y = x^2, x = i / m: the
// Bernstein sums of i / m and (i / m)^2 are t and t^2 + t (1 - t) / m, so
// the curve and its derivatives are known at every t (the binomials of
// degree 1,021 and more overflow a double).
TEST(LimitCurveTest, BezierOfThousandsOfPoints)
{
    for (const std::size_t m : {1020u, 1021u, 5000u, 100000u}) {
        std::vector<Vector> q;
        for (std::size_t i = 0; i <= m; ++i) {
            const double x = double(i) / double(m);
            q.emplace_back(x, x * x);
        }
        const BernsteinCurve curve(q, false);
        const double k = 1.0 / double(m);
        for (double t : {0.0, 1e-7, 0.013, 0.25, 0.5, 0.71, 0.999, 1.0}) {
            SCOPED_TRACE(testing::Message() << m + 1 << " points, t " << t);
            const LimitCurve::Jet jet = curve.jet(t);
            EXPECT_NEAR(jet.point.x(), t, 1e-12);
            EXPECT_NEAR(jet.point.y(), t * t + t * (1 - t) * k, 1e-12);
            EXPECT_NEAR(jet.first.x(), 1.0, 1e-9);
            EXPECT_NEAR(jet.first.y(), 2 * t * (1 - k) + k, 1e-9);
            EXPECT_NEAR(jet.second.y(), 2 * (1 - k), 1e-4); // differences of positions near 1 lose digits
        }
    }
}

// Derivatives against difference quotients of the positions, and the
// sampling's chords against the curve between them.
TEST(LimitCurveTest, JetsAndSamplingsAgreeWithTheCurve)
{
    std::vector<std::unique_ptr<LimitCurve>> curves;
    curves.push_back(std::make_unique<ClosedBSpline>(polygons::star(), 3));
    curves.push_back(std::make_unique<ClosedBSpline>(polygons::star(), 2));
    curves.push_back(std::make_unique<BernsteinCurve>(polygons::star(), true));
    curves.push_back(std::make_unique<BernsteinCurve>(randomPolygon(40, 3), false));
    for (const auto &curve : curves) {
        const double h = 1e-4 * curve->spanWidth();
        for (int k = 1; k < 40; ++k) {
            const double t = curve->parameterStart() + (curve->parameterEnd() - curve->parameterStart()) * (k + 0.3) / 40;
            const LimitCurve::Jet jet = curve->jet(t);
            const Vector before = curve->at(t - h), after = curve->at(t + h);
            const Vector first = (after + before * -1.0) / (2 * h);
            const Vector second = (after + jet.point * -2.0 + before) / (h * h);
            const double scale = 1.0 + distance(jet.second, Vector());
            EXPECT_LT(distance(jet.first, first), 1e-6 * scale);
            EXPECT_LT(distance(jet.second, second), 1e-3 * scale);
        }
        const double tolerance = 1e-3;
        const LimitCurve::Sampling sampling = curve->sample(tolerance);
        ASSERT_LE(sampling.tolerance, tolerance);
        ASSERT_EQ(sampling.points.size(), sampling.parameters.size());
        EXPECT_EQ(sampling.parameters.front(), curve->parameterStart());
        EXPECT_EQ(sampling.parameters.back(), curve->parameterEnd());
        for (std::size_t i = 0; i + 1 < sampling.points.size(); ++i) {
            const Vector &a = sampling.points[i], &b = sampling.points[i + 1];
            for (double s : {0.25, 0.5, 0.75}) {
                const Vector onCurve = curve->at(sampling.parameters[i] * (1 - s) + sampling.parameters[i + 1] * s);
                ASSERT_LE(distance(onCurve, a * (1 - s) + b * s), tolerance) << "arc " << i;
            }
        }
    }
}

} // namespace
