#include "curves/CurveTesting.h"

#include "analysis/BernsteinCurve.h"
#include "analysis/ClosedBSpline.h"
#include "analysis/LimitDistance.h"
#include "analysis/PolygonDistance.h"
#include "analysis/SchemeLevels.h"

#include <limits>
#include <random>

namespace {

std::vector<Vector> scatter(int n, double spread, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-spread, spread);
    std::vector<Vector> points;
    for (int i = 0; i < n; ++i)
        points.emplace_back(coordinate(random), coordinate(random));
    return points;
}

// Points pushed off a convex curve along its normal by less than its
// radius of curvature are exactly that far from it: down to 1e-13, so the
// distances are fit for a logarithmic plot.
TEST(LimitDistanceTest, PointsOffTheCurveAlongItsNormal)
{
    const ClosedBSpline cubic(polygons::pentagon(), 3);
    const ClosedBSpline quadratic(polygons::pentagon(), 2);
    const BernsteinCurve bezier(polygons::pentagon(), true);
    for (const LimitCurve *curve : {static_cast<const LimitCurve *>(&cubic), static_cast<const LimitCurve *>(&quadratic),
                                    static_cast<const LimitCurve *>(&bezier)}) {
        const LimitDistance measure(*curve);
        for (double offset : {1e-13, 1e-9, 1e-5, 1e-2, -1e-2, -1e-11}) {
            std::vector<Vector> points;
            for (int k = 0; k < 500; ++k) {
                const double t = curve->parameterStart() + (curve->parameterEnd() - curve->parameterStart()) * k / 500.0;
                const LimitCurve::Jet jet = curve->jet(t);
                const double speed = std::hypot(jet.first.x(), jet.first.y());
                if (speed < 1e-6)
                    continue; // the closed Bezier curve's seam may stand still
                points.push_back(jet.point + Vector(-jet.first.y(), jet.first.x()) * (offset / speed));
            }
            const Farthest farthest = measure.largest(points);
            EXPECT_NEAR(farthest.distance, std::abs(offset), 1e-7 * std::abs(offset) + 2e-15) << "offset " << offset;
        }
    }
}

// Random points near and far from a wiggly curve and from a polygon:
// against the minimum over a dense sampling (the limit) and over every
// segment (the polygon), so the hierarchy never misses a nearer branch.
TEST(LimitDistanceTest, AgreesWithExhaustiveSearch)
{
    const std::vector<Vector> control = scatter(12, 5.0, 11);
    const ClosedBSpline curve(control, 3);
    const LimitDistance measure(curve);
    const std::vector<Vector> dense = curve.sample(std::size_t{60000});
    const std::vector<Vector> probes = scatter(200, 7.0, 12);
    for (const bool closed : {true, false}) {
        const PolygonDistance polygon(control, closed);
        std::size_t limitHint = 0, polygonHint = 0;
        for (const Vector &p : probes) {
            double nearestSample = std::numeric_limits<double>::max();
            for (const Vector &q : dense)
                nearestSample = std::min(nearestSample, distanceXY(p, q));
            const double exact = measure.project(p, limitHint).distance;
            EXPECT_LE(exact, nearestSample + 1e-12);
            EXPECT_GE(exact, nearestSample - 2e-3) << "samples are at most 4e-3 apart";

            double nearestSegment = std::numeric_limits<double>::max();
            const std::size_t n = control.size();
            for (std::size_t i = 0; i + (closed ? 0 : 1) < n; ++i)
                nearestSegment = std::min(nearestSegment,
                                          PolygonDistance::segmentDistance(p, control[i], control[(i + 1) % n]));
            EXPECT_DOUBLE_EQ(polygon.distance(p, polygonHint), nearestSegment);
        }
    }
}

// The nearest point of a closed B-spline found span by span, on its own
// polynomial: 1024 samples, and a golden-section search around every
// sampled local minimum. A span lies in the box of its control points
// P(j-1) .. P(j+2); spans whose box is farther than the best so far are
// passed over.
double nearestOnSpans(const ClosedBSpline &curve, const std::vector<Vector> &control, const Vector &p)
{
    const auto at = [&](double t) { return distanceXY(curve.at(t), p); };
    const std::size_t n = control.size();
    double best = std::numeric_limits<double>::max();
    std::vector<double> d(1025);
    for (std::size_t span = 0; span < n; ++span) {
        BoxTree::Box box;
        for (std::size_t k = 0; k < 4; ++k) {
            const Vector &q = control[(span + n - 1 + k) % n];
            box.add({q.x(), q.y(), q.x(), q.y()});
        }
        if (std::sqrt(box.squaredDistance(p)) > best)
            continue;
        const double start = curve.parameterStart() + double(span), step = 1.0 / 1024;
        for (std::size_t k = 0; k <= 1024; ++k)
            d[k] = at(start + double(k) * step);
        for (std::size_t k = 0; k <= 1024; ++k) {
            if ((k > 0 && d[k] > d[k - 1]) || (k < 1024 && d[k] > d[k + 1]))
                continue;
            const double t = start + double(k) * step;
            double lo = std::max(start, t - step), hi = std::min(start + 1.0, t + step);
            for (int i = 0; i < 80; ++i) {
                const double a = lo + (hi - lo) * 0.381966, b = hi - (hi - lo) * 0.381966;
                if (at(a) < at(b))
                    hi = b;
                else
                    lo = a;
            }
            best = std::min({best, d[k], at(0.5 * (lo + hi))});
        }
    }
    return best;
}

// Cases where the arc search once returned an arc's nearer end: a corner
// where the limit stops (a repeated control point) and tips far sharper
// than the sampling. Against the spans searched on their own, and the
// values an independent check found (to its three digits).
TEST(LimitDistanceTest, CornersWhereTheCurveStopsAndSharpTips)
{
    struct Case
    {
        int scheme;
        std::vector<Vector> polygon;
        int level;
        double expected;
    };
    const Case cases[] = {
        {SchemeSetup::Chaikin, {{0, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 4}}, 6, 1.73e-4},
        {SchemeSetup::Chaikin, {{0, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 4}}, 7, 1.73e-4 / 4},
        {SchemeSetup::Chaikin, {{-10, 0}, {8, 1}, {-7, 0}}, 9, 1.54e-5},
        {SchemeSetup::BSpline, {{5, -5}, {6, -6}, {-7, 10}}, 8, 8.06e-5},
    };
    for (const Case &c : cases) {
        SchemeSetup setup;
        setup.scheme = c.scheme;
        setup.u = c.scheme == SchemeSetup::Chaikin ? 0.75 : 0.5;
        setup.polygon = c.polygon;
        setup.closed = true;
        const std::vector<Vector> points = SchemeLevels(setup).make(c.level).points;
        const ClosedBSpline curve(c.polygon, c.scheme == SchemeSetup::Chaikin ? 2 : 3);
        double expected = 0.0;
        for (const Vector &p : points)
            expected = std::max(expected, nearestOnSpans(curve, c.polygon, p));
        const double measured = LimitDistance(curve).largest(points).distance;
        EXPECT_NEAR(measured, expected, 1e-9 * expected) << "level " << c.level;
        EXPECT_NEAR(measured, c.expected, 0.006 * c.expected) << "level " << c.level;
    }
}

// The farthest point of one polygon from another may lie inside an edge:
// the proposed scheme at u = 0.1 moves this polygon by 1.2095 in one pass,
// while its vertices lie at most 0.8427 from the other level.
TEST(LimitDistanceTest, HausdorffDistanceIncludesEdges)
{
    SchemeSetup setup;
    setup.scheme = SchemeSetup::Proposed;
    setup.u = 0.1;
    setup.polygon = {{2, 4}, {-2, 4}, {-5, -4}, {-5, 4}};
    setup.closed = true;
    SchemeLevels levels(setup);
    const std::vector<Vector> before = levels.make(0).points, after = levels.make(1).points;
    const PolygonDistance toBefore(before, true), toAfter(after, true);
    const double vertices = std::max(toBefore.largest(after).distance, toAfter.largest(before).distance);
    const double edges = std::max(toBefore.largestAlong(after, true)->distance, toAfter.largestAlong(before, true)->distance);
    EXPECT_NEAR(vertices, 0.8427, 5e-5);
    EXPECT_NEAR(edges, 1.2095, 5e-5);
    // Against every edge sampled at 20,000 points.
    double sampled = 0.0;
    for (const auto &[from, to] : {std::pair{&after, &toBefore}, std::pair{&before, &toAfter}})
        for (std::size_t i = 0; i < from->size(); ++i)
            for (int k = 0; k <= 20000; ++k) {
                std::size_t hint = 0;
                const Vector p = (*from)[i] * (1 - k / 20000.0) + (*from)[(i + 1) % from->size()] * (k / 20000.0);
                sampled = std::max(sampled, to->distance(p, hint));
            }
    EXPECT_GE(edges, sampled - 1e-12);
    EXPECT_LE(edges, sampled + 1e-3);
    // A segment over a V: its ends are 1 away, its middle 5 / sqrt 2.
    const PolygonDistance v(std::vector<Vector>{{-4, 4}, {0, 0}, {4, 4}}, false);
    const std::vector<Vector> segment = {{-4, 5}, {4, 5}};
    EXPECT_DOUBLE_EQ(v.largest(segment).distance, 1.0);
    EXPECT_NEAR(v.largestAlong(segment, false)->distance, 5.0 / std::sqrt(2.0), 1e-12);
    // Refused beyond its budget of segment distances.
    EXPECT_FALSE(v.largestAlong(segment, false, 3));
    EXPECT_TRUE(v.largestAlong(segment, false, 1000));
}

TEST(LimitDistanceTest, DegeneratePolygons)
{
    const std::vector<Vector> point = {{2, 3}};
    EXPECT_DOUBLE_EQ(PolygonDistance(point, true).largest(std::vector<Vector>{{5, 7}}).distance, 5.0);
    EXPECT_TRUE(std::isinf(PolygonDistance({}, false).largest(std::vector<Vector>{{5, 7}}).distance));
    // A polygon with all points in one place has a one-point limit.
    const std::vector<Vector> same = {{1, 1}, {1, 1}, {1, 1}};
    const ClosedBSpline curve(same, 3);
    const Farthest farthest = LimitDistance(curve).largest(std::vector<Vector>{{1, 1}, {4, 5}, {1, 2}});
    EXPECT_DOUBLE_EQ(farthest.distance, 5.0);
    EXPECT_EQ(farthest.index, 1u);
}

} // namespace
