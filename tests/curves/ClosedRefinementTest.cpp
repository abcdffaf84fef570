#include "CurveTesting.h"

#include <functional>
#include <memory>
#include <random>

#include "curves/BSplineCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/ProposedCurve.h"

// The schemes run their passes through ClosedRefinement: arrays, chunks
// and a single sweep into the list. Here they are checked against the
// plain rule, one pass at a time over a vector of whole points, on random
// polygons with and without a dragged point: every field of every point,
// the areas, and where the old point objects end up.
namespace {

using Loop = std::vector<Point>;

const Vector &ghostOf(const Point &p)
{
    return p.hasGhost ? p.ghost : p.position;
}

struct Neighbours
{
    const Point &before, &p, &after;
};

Neighbours around(const Loop &in, std::size_t j)
{
    const std::size_t n = in.size();
    return {in[(j + n - 1) % n], in[j], in[(j + 1) % n]};
}

Loop chaikinPass(const Loop &in, double u, double &area)
{
    Loop out;
    for (std::size_t j = 0; j < in.size(); ++j) {
        const auto [before, p, after] = around(in, j);
        Point a, b;
        combineInto(a, p, before, u);
        combineInto(b, p, after, u);
        area += p.signedArea(a, b);
        out.push_back(a);
        out.push_back(b);
    }
    return out;
}

Loop bsplinePass(const Loop &in, double u)
{
    const auto rule = [](const Vector &b, const Vector &p, const Vector &a) {
        return b * 0.125 + p * 0.75 + a * 0.125;
    };
    Loop out;
    for (std::size_t j = 0; j < in.size(); ++j) {
        const auto [before, p, after] = around(in, j);
        Point moved = p;
        moved.position = rule(before.position, p.position, after.position);
        if (before.hasGhost || p.hasGhost || after.hasGhost) {
            moved.ghost = rule(ghostOf(before), ghostOf(p), ghostOf(after));
            moved.hasGhost = true;
        }
        Point edge;
        combineInto(edge, p, after, u);
        out.push_back(moved);
        out.push_back(edge);
    }
    return out;
}

// The proposed scheme's three points multiplied out: E = u/4 before +
// (1 - u/4) P, P moved to (1 - u)/4 before + (1 + u)/2 P + (1 - u)/4 after,
// H = (1 - u/4) P + u/4 after, each summed from before to after.
Loop proposedPass(const Loop &in, double u)
{
    const double side = (1.0 - u) * 0.25, near = u * 0.25, inner = 1.0 - near, centre = (1.0 + u) * 0.5;
    Loop out;
    for (std::size_t j = 0; j < in.size(); ++j) {
        const auto [before, p, after] = around(in, j);
        const auto e = [&](const Vector &b, const Vector &q) { return b * near + q * inner; };
        const auto m = [&](const Vector &b, const Vector &q, const Vector &a) { return b * side + q * centre + a * side; };
        const auto h = [&](const Vector &q, const Vector &a) { return q * inner + a * near; };
        Point first(e(before.position, p.position));
        Point moved = p;
        moved.position = m(before.position, p.position, after.position);
        Point last(h(p.position, after.position));
        if (before.hasGhost || p.hasGhost) {
            first.ghost = e(ghostOf(before), ghostOf(p));
            first.hasGhost = true;
        }
        if (before.hasGhost || p.hasGhost || after.hasGhost) {
            moved.ghost = m(ghostOf(before), ghostOf(p), ghostOf(after));
            moved.hasGhost = true;
        }
        if (p.hasGhost || after.hasGhost) {
            last.ghost = h(ghostOf(p), ghostOf(after));
            last.hasGhost = true;
        }
        out.push_back(first);
        out.push_back(moved);
        out.push_back(last);
    }
    return out;
}

double loopFan(const Loop &loop)
{
    double sum = 0.0;
    for (std::size_t i = 1; i + 1 < loop.size(); ++i)
        sum += loop[0].signedArea(loop[i + 1], loop[i]);
    return sum;
}

::testing::AssertionResult samePoints(const List<Point> &actual, const Loop &expected)
{
    if (actual.count != expected.size())
        return ::testing::AssertionFailure() << actual.count << " points, expected " << expected.size();
    std::size_t i = 0;
    const Node<Point> *lastNode = nullptr;
    for (const Node<Point> *n = actual.head; n; lastNode = n, n = n->next, ++i) {
        const Point &a = *n->item, &e = expected[i];
        if (!(a.position == e.position && a.ghost == e.ghost && a.hasGhost == e.hasGhost &&
              a.selected == e.selected && a.edgeHighlighted == e.edgeHighlighted &&
              a.highlighted == e.highlighted && a.level == e.level))
            return ::testing::AssertionFailure() << "point " << i << " differs";
        if ((n->prev == nullptr) != (i == 0) || (n->next == nullptr) != (i + 1 == expected.size()) ||
            (n->next && n->next->prev != n))
            return ::testing::AssertionFailure() << "links broken at point " << i;
    }
    if (actual.tail != lastNode || i != expected.size())
        return ::testing::AssertionFailure() << "tail or count wrong";
    return ::testing::AssertionSuccess();
}

struct Scheme
{
    const char *name;
    std::uint32_t growth;
    std::uint32_t oldSlot; // where an old point's object sits in its group
    std::function<std::unique_ptr<Curve>(ControlPoints *)> make;
    // One plain pass; adds to area what the scheme sums pass by pass.
    std::function<Loop(const Loop &, double, double &)> pass;
    bool fan; // deltaArea is the polygon's area minus the final loop's
};

template <typename T>
std::unique_ptr<Curve> makeScheme(ControlPoints *cp)
{
    return std::make_unique<T>(cp);
}

TEST(ClosedRefinementTest, MatchesThePlainRuleOnRandomPolygonsWithAndWithoutAGhost)
{
    const Scheme schemes[] = {
        {"Chaikin", 2, 0, makeScheme<ChaikinCurve>, chaikinPass, false},
        {"B-spline", 2, 0, makeScheme<BSplineCurve>, [](const Loop &l, double u, double &) { return bsplinePass(l, u); },
         true},
        {"proposed", 3, 1, makeScheme<ProposedCurve>,
         [](const Loop &l, double u, double &) { return proposedPass(l, u); }, true},
    };
    std::mt19937 random(20261208);
    std::uniform_real_distribution<double> coordinate(-8.0, 8.0);
    for (const Scheme &scheme : schemes) {
        // Level 1 and 2 run in chunks only; the deeper ones run whole
        // arrays first and then chunks, several of them.
        const std::vector<int> levels = scheme.growth == 2 ? std::vector<int>{1, 2, 11} : std::vector<int>{1, 2, 7};
        for (const int level : levels) {
            for (const bool dragged : {false, true}) {
                SCOPED_TRACE(::testing::Message() << scheme.name << " level " << level << (dragged ? " dragged" : ""));
                ControlPoints control;
                const int size = 3 + static_cast<int>(random() % 7);
                for (int i = 0; i < size; ++i)
                    control.insertPoint(Vector(coordinate(random), coordinate(random), coordinate(random)));
                control.closed = true;
                // Flags and a stale ghost that the moved points carry.
                Point &second = *control.points.head->next->item;
                second.selected = second.highlighted = true;
                second.ghost = Vector(1, 2, 3);
                if (dragged) {
                    Point &moving = *control.points.tail->item;
                    moving.hasGhost = true;
                    moving.ghost = Vector(coordinate(random), coordinate(random), 0);
                }
                const std::unique_ptr<Curve> curve = scheme.make(&control);
                const double u = scheme.growth == 2 ? 0.3 + 0.4 * (level % 2) : 0.35;
                curve->setU(u);
                curve->level = level;

                Loop plain;
                for (const Node<Point> *n = control.points.head; n; n = n->next)
                    plain.push_back(*n->item);
                const double polygonArea = loopFan(plain);
                double summed = 0.0;
                for (int k = 0; k < level; ++k)
                    plain = scheme.pass(plain, u, summed);

                control.dirty = true;
                curve->rebuildResult();
                std::vector<const Point *> olds;
                for (const Node<Point> *n = curve->result->head; n; n = n->next)
                    olds.push_back(n->item);
                curve->subdivide();

                EXPECT_TRUE(samePoints(*curve->result, plain));
                if (scheme.fan)
                    EXPECT_EQ(curve->deltaArea, polygonArea - loopFan(plain));
                else
                    EXPECT_NEAR(curve->deltaArea, summed, 1e-12 * (1 + std::abs(summed)));
                // Old point j sits at j g^k + slot (g^k - 1) / (g - 1).
                std::uint64_t stride = 1;
                for (int k = 0; k < level; ++k)
                    stride *= scheme.growth;
                std::vector<const Point *> items;
                for (const Node<Point> *n = curve->result->head; n; n = n->next)
                    items.push_back(n->item);
                for (std::size_t j = 0; j < olds.size(); ++j)
                    EXPECT_EQ(items[j * stride + scheme.oldSlot * (stride - 1) / (scheme.growth - 1)], olds[j]) << j;
            }
        }
    }
}

} // namespace
