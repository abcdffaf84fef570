#include "CurveTesting.h"

#include "curves/BSplineCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/CustomCurve.h"
#include "curves/MaskPresets.h"
#include "curves/MaskRefinement.h"
#include "curves/ProposedCurve.h"

#include <functional>
#include <memory>
#include <set>

namespace {

std::unique_ptr<Curve> custom(ControlPoints *control, const Mask &mask)
{
    auto curve = std::make_unique<CustomCurve>(control);
    curve->setMask(mask);
    return curve;
}

struct Scheme
{
    const char *name;
    std::function<std::unique_ptr<Curve>(ControlPoints *)> make;
};

const Scheme schemes[] = {
    {"Chaikin", [](ControlPoints *c) { return std::make_unique<ChaikinCurve>(c); }},
    {"B-spline", [](ControlPoints *c) { return std::make_unique<BSplineCurve>(c); }},
    {"proposed", [](ControlPoints *c) { return std::make_unique<ProposedCurve>(c); }},
    {"four-point", [](ControlPoints *c) { return custom(c, MaskPresets::fourPoint(0.0625)); }},
    {"ternary cubic", [](ControlPoints *c) { return custom(c, MaskPresets::bspline(3, 3)); }},
};

} // namespace

// The custom curve is its mask's rule on a closed polygon, with the
// polygon's area minus the final loop's for its area difference, and on
// an open polygon nothing unless its ends are open.
TEST(CustomCurveTest, RefinesByItsMask)
{
    const Mask mask = MaskPresets::sixPoint();
    Polygon closed(polygons::star(), true);
    const std::unique_ptr<Curve> curve = custom(&closed.control, mask);
    curve->level = 5;
    refine(*curve);
    const std::vector<Vector> points = positionsOf(*curve->result);
    EXPECT_EQ(points, MaskRefinement(mask).refine(polygons::star(), 5).points);
    EXPECT_NEAR(curve->deltaArea, clockwiseArea(polygons::star()) - clockwiseArea(points), 1e-9);
    EXPECT_FALSE(curve->drawnOpen());

    Polygon open(polygons::star(), false);
    const std::unique_ptr<Curve> openCurve = custom(&open.control, mask);
    openCurve->level = 2;
    refine(*openCurve);
    EXPECT_FALSE(openCurve->drawsCurve());
    openCurve->openEnds = true;
    refine(*openCurve);
    EXPECT_TRUE(openCurve->drawsCurve());
    EXPECT_TRUE(openCurve->drawnOpen());
    EXPECT_EQ(openCurve->result->count, 9u * 4 + 1);
    EXPECT_EQ(openCurve->deltaArea, 0.0);
}

// During a drag the ghosts are the curve of the polygon before the drag,
// closed or open, for every refining scheme.
TEST(CustomCurveTest, GhostIsTheCurveBeforeTheDrag)
{
    for (const Scheme &scheme : schemes) {
        for (const bool closed : {true, false}) {
            SCOPED_TRACE(testing::Message() << scheme.name << (closed ? " closed" : " open"));
            Polygon before(polygons::pentagon(), closed);
            Polygon dragged(polygons::pentagon(), closed);
            Point &moved = *dragged.control.points.indexNode(3)->item;
            moved.ghost = moved.position;
            moved.hasGhost = true;
            moved.position = Vector(1.5, 4.5);
            std::unique_ptr<Curve> original = scheme.make(&before.control);
            std::unique_ptr<Curve> curve = scheme.make(&dragged.control);
            for (Curve *c : {original.get(), curve.get()}) {
                c->level = 3;
                c->openEnds = true;
                refine(*c);
            }
            EXPECT_TRUE(pointsNear(ghostsOf(*curve->result), positionsOf(*original->result), 1e-12));
        }
    }
}

// The support of a control point holds exactly the points that move with
// it, found by moving it: no point outside changes, and the support's
// first and last points do.
TEST(CustomCurveTest, InfluenceIsWhereTheCurveMoves)
{
    for (const Scheme &scheme : schemes) {
        for (const bool closed : {true, false}) {
            for (const std::size_t index : {std::size_t(0), std::size_t(2), std::size_t(4)}) {
                SCOPED_TRACE(testing::Message() << scheme.name << (closed ? " closed" : " open") << ", point "
                                                << index);
                Polygon still(polygons::pentagon(), closed);
                Polygon moved(polygons::pentagon(), closed);
                moved.control.points.indexNode(std::uint32_t(index + 1))->item->position = Vector(0.3, -0.7);
                std::unique_ptr<Curve> a = scheme.make(&still.control), b = scheme.make(&moved.control);
                for (Curve *c : {a.get(), b.get()}) {
                    c->level = 3;
                    c->openEnds = true;
                    refine(*c);
                }
                const std::vector<Vector> before = positionsOf(*a->result), after = positionsOf(*b->result);
                const std::optional<Curve::Span> span = a->influence(index);
                ASSERT_TRUE(span.has_value());
                std::set<std::uint64_t> inside;
                for (std::uint64_t k = 0; k < span->count; ++k)
                    inside.insert((span->first + k) % before.size());
                std::set<std::uint64_t> changed;
                for (std::uint64_t i = 0; i < before.size(); ++i)
                    if (!(before[i] == after[i]))
                        changed.insert(i);
                ASSERT_FALSE(changed.empty());
                for (const std::uint64_t i : changed)
                    EXPECT_TRUE(inside.count(i)) << "point " << i << " moved outside the support";
                // An open curve's ends can cut the support short, where an
                // interpolating scheme keeps the end points in place.
                const std::uint64_t last = (span->first + span->count - 1) % before.size();
                if (closed || span->first > 0) {
                    EXPECT_TRUE(changed.count(span->first)) << "the support starts where the curve moves";
                }
                if (closed || last + 1 < before.size()) {
                    EXPECT_TRUE(changed.count(last)) << "and ends there";
                }
            }
        }
    }
}
