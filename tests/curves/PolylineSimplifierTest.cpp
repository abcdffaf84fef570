#include "curves/PolylineSimplifier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

struct V
{
    double x, y;
    float grey = 0;
};

std::vector<V> simplify(const std::vector<V> &in, double tolerance, bool closed, bool greys = false)
{
    PolylineSimplifier s;
    s.begin(tolerance, greys, false);
    for (const V &v : in)
        s.add(v.x, v.y, v.grey);
    s.finish(closed);
    std::vector<V> out;
    for (std::size_t i = 0; i < s.size(); ++i)
        out.push_back({s.vertices()[2 * i], s.vertices()[2 * i + 1], greys ? s.greys()[i] : 0.0f});
    return out;
}

double toSegment(const V &p, const V &a, const V &b)
{
    const double ex = b.x - a.x, ey = b.y - a.y, len2 = ex * ex + ey * ey;
    const double t = len2 > 0 ? std::clamp(((p.x - a.x) * ex + (p.y - a.y) * ey) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - a.x - t * ex, p.y - a.y - t * ey);
}

double toPolyline(const V &p, const std::vector<V> &line, bool closed)
{
    double best = std::hypot(p.x - line[0].x, p.y - line[0].y);
    const std::size_t segments = closed ? line.size() : line.size() - 1;
    for (std::size_t i = 0; i < segments; ++i)
        best = std::min(best, toSegment(p, line[i], line[(i + 1) % line.size()]));
    return best;
}

// Largest distance from a point of `from` (its vertices and points along
// its segments) to the polyline `to`.
double oneSidedDistance(const std::vector<V> &from, const std::vector<V> &to, bool closed)
{
    double worst = 0;
    const std::size_t segments = closed ? from.size() : from.size() - 1;
    for (std::size_t i = 0; i < std::max<std::size_t>(segments, 1); ++i) {
        const V &a = from[i], &b = from[(i + 1) % from.size()];
        for (int k = 0; k < 4; ++k) {
            const double t = k / 4.0;
            worst = std::max(worst, toPolyline({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}, to, closed));
        }
    }
    return worst;
}

// As the output stores them, in single precision.
std::vector<std::pair<float, float>> coordinates(const std::vector<V> &vs)
{
    std::vector<std::pair<float, float>> out;
    for (const V &v : vs)
        out.emplace_back(float(v.x), float(v.y));
    return out;
}

struct Case
{
    const char *name;
    std::vector<V> in;
    bool closed;
    std::vector<V> expected;
};

// Exact results: collinear runs become their extreme points, a run that
// doubles back keeps both extremes and its last vertex, wiggles within
// the tolerance go, the first vertex of a loop stays.
TEST(PolylineSimplifierTest, MergesRunsKeepingTheirExtremes)
{
    const std::vector<Case> cases{
        {"straight run", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {10, 0}}, false, {{0, 0}, {10, 0}}},
        {"run doubling back",
         {{0, 0}, {5, 0}, {10, 0}, {3, 0}, {-2, 0}, {4, 0}, {4, 5}},
         false,
         {{0, 0}, {10, 0}, {-2, 0}, {4, 0}, {4, 5}}},
        {"wiggle within", {{0, 0}, {1, 0}, {2, 0.04}, {3, -0.04}, {4, 0}}, false, {{0, 0}, {4, 0}}},
        {"wiggle beyond", {{0, 0}, {1, 0}, {2, 0.06}, {3, 0}}, false, {{0, 0}, {1, 0}, {2, 0.06}, {3, 0}}},
        {"repeats", {{1, 1}, {1, 1}, {1, 1}}, false, {{1, 1}, {1, 1}}},
        {"square loop",
         {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}},
         true,
         {{0, 0}, {2, 0}, {2, 2}, {0, 2}}},
        {"loop starting mid-edge",
         {{1, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}},
         true,
         {{1, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}}},
        {"single point loop", {{3, 4}}, true, {{3, 4}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(coordinates(simplify(c.in, 0.1, c.closed)), coordinates(c.expected)) << c.name;
}

TEST(PolylineSimplifierTest, NeverMergesAcrossAChangeOfGrey)
{
    const std::vector<V> in{{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {3, 0, 0.5f}, {4, 0, 0.5f}, {5, 0, 0.5f}, {6, 0, 1}};
    const std::vector<V> out = simplify(in, 0.1, false, true);
    const std::vector<V> expected{{0, 0, 1}, {2, 0, 1}, {3, 0, 0.5f}, {5, 0, 0.5f}, {6, 0, 1}};
    ASSERT_EQ(coordinates(out), coordinates(expected));
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_EQ(out[i].grey, expected[i].grey) << i;
}

// Dense curves, smooth and self-crossing, exact or with noise about the
// tolerance: both polylines stay within the tolerance of each other, the
// output keeps input vertices in input order, and without noise it is
// much shorter.
TEST(PolylineSimplifierTest, StaysWithinTheTolerance)
{
    std::mt19937 random(7);
    const double tolerance = 0.01;
    for (double noise : {0.0, 0.02}) {
        for (int petals : {1, 11}) {
            std::normal_distribution<double> jitter(0.0, noise);
            std::vector<V> in;
            for (int i = 0; i < 1500; ++i) {
                const double a = 2 * M_PI * i / 1500, r = 5 + 3 * std::cos(petals * a);
                in.push_back({r * std::cos(a) + jitter(random), r * std::sin(a) + jitter(random)});
            }
            for (bool closed : {false, true}) {
                const std::vector<V> out = simplify(in, tolerance, closed);
                EXPECT_LE(oneSidedDistance(in, out, closed), tolerance + 1e-5) << noise << " " << petals;
                EXPECT_LE(oneSidedDistance(out, in, closed), tolerance + 1e-5) << noise << " " << petals;
                std::size_t next = 0;
                for (const V &v : out) {
                    while (next < in.size() && (float(in[next].x) != float(v.x) || float(in[next].y) != float(v.y)))
                        ++next;
                    ASSERT_LT(next, in.size()) << "an output vertex out of input order";
                }
                if (noise == 0) {
                    EXPECT_LT(out.size(), in.size() / 2) << petals;
                }
            }
        }
    }
}

TEST(PolylineSimplifierTest, ThinsDotsWithinTheTolerance)
{
    PolylineSimplifier s;
    s.begin(0.1, false, true);
    std::vector<V> in;
    for (int i = 0; i <= 1000; ++i)
        in.push_back({0.003 * i, std::sin(0.01 * i)});
    for (const V &v : in)
        s.add(v.x, v.y);
    s.finish(false);
    const std::vector<float> &dots = s.dots();
    ASSERT_GE(dots.size(), 4u);
    EXPECT_LT(dots.size() / 2, in.size() / 10);
    for (std::size_t i = 2; i < dots.size(); i += 2)
        EXPECT_GT(std::hypot(dots[i] - dots[i - 2], dots[i + 1] - dots[i - 1]), 0.1);
    for (const V &v : in) {
        double nearest = 1e9;
        for (std::size_t i = 0; i < dots.size(); i += 2)
            nearest = std::min(nearest, std::hypot(v.x - dots[i], v.y - dots[i + 1]));
        EXPECT_LE(nearest, 0.1 + 1e-6);
    }
}

} // namespace
