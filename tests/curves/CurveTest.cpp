#include "CurveTesting.h"

#include <functional>
#include <memory>
#include <string>

#include "curves/BSplineCurve.h"
#include "curves/BezierCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/ProposedCurve.h"

namespace {

using Factory = std::function<std::unique_ptr<Curve>(ControlPoints *)>;

template <typename Scheme>
Factory make()
{
    return [](ControlPoints *c) { return std::make_unique<Scheme>(c); };
}

struct ClosedScheme
{
    std::string name;
    Factory create;
    std::uint32_t growth;
};

const std::vector<ClosedScheme> closedSchemes = {
    {"Chaikin", make<ChaikinCurve>(), 2},
    {"BSpline", make<BSplineCurve>(), 2},
    {"Proposed", make<ProposedCurve>(), 3},
};

TEST(CurveTest, ConstructorsSetEachSchemesDefaults)
{
    struct Expected
    {
        Factory create;
        bool depth, precision, level;
        double u;
    };
    const std::vector<Expected> table = {
        {make<BezierCurve>(), true, true, false, 0.5},
        {make<ChaikinCurve>(), false, false, true, 0.75},
        {make<BSplineCurve>(), false, false, true, 0.5},
        {make<ProposedCurve>(), false, false, true, 0.5},
    };
    ControlPoints control;
    for (const Expected &e : table) {
        const auto curve = e.create(&control);
        EXPECT_EQ(curve->supportsDepthColour, e.depth);
        EXPECT_EQ(curve->usesPrecision, e.precision);
        EXPECT_EQ(curve->usesLevel, e.level);
        EXPECT_EQ(curve->u(), e.u);
        EXPECT_FALSE(curve->depthColour);
        EXPECT_FALSE(curve->curvePoints);
        EXPECT_EQ(curve->precision, 0.2);
        EXPECT_EQ(curve->level, 0);
        EXPECT_EQ(curve->deltaArea, 0.0);
        EXPECT_EQ(curve->result, nullptr);
        EXPECT_EQ(curve->controlPoints, &control);
    }
    // Each curve keeps its own settings.
    ChaikinCurve chaikin(&control);
    BSplineCurve bspline(&control);
    chaikin.level = 7;
    chaikin.setU(0.3);
    EXPECT_EQ(bspline.level, 0);
    EXPECT_EQ(bspline.u(), 0.5);
}

TEST(CurveTest, ProposedKeepsHalfUWithEverySetU)
{
    ProposedCurve curve(nullptr);
    EXPECT_EQ(curve.halfU, 0.25);
    curve.setU(0.2);
    EXPECT_EQ(curve.u(), 0.2);
    EXPECT_EQ(curve.halfU, 0.1);
    curve.setU(-1.0);
    EXPECT_EQ(curve.halfU, -0.5);
}

TEST(CurveTest, RebuildCopiesTheControlPointsOnlyWhileDirty)
{
    Polygon square(polygons::unitSquare(), true);
    Point *first = square.control.points.head->item;
    first->hasGhost = true;
    first->ghost = Vector(5, 5);
    BSplineCurve curve(&square.control);
    curve.rebuildResult();
    ASSERT_NE(curve.result, nullptr);
    EXPECT_FALSE(square.control.dirty);
    EXPECT_TRUE(pointsNear(positionsOf(*curve.result), polygons::unitSquare(), 0.0));
    const Point *copy = curve.result->head->item;
    EXPECT_NE(copy, first);
    EXPECT_TRUE(copy->hasGhost);
    EXPECT_EQ(copy->ghost, Vector(5, 5));

    List<Point> *before = curve.result;
    curve.rebuildResult(); // clean: nothing happens
    EXPECT_EQ(curve.result, before);

    curve.clearResult();
    EXPECT_EQ(curve.result, nullptr);
}

TEST(CurveTest, ClosedSchemesMultiplyThePointCountPerPass)
{
    for (const ClosedScheme &scheme : closedSchemes) {
        Polygon star(polygons::star(), true);
        const auto curve = scheme.create(&star.control);
        std::uint32_t expected = 10;
        for (int level = 0; level <= 4; ++level) {
            curve->level = level;
            refine(*curve);
            EXPECT_EQ(curve->result->count, expected) << scheme.name << " level " << level;
            EXPECT_EQ(curve->reachedLevel, level);
            EXPECT_FALSE(curve->limited);
            expected *= scheme.growth;
        }
    }
    // The counts of the worked examples: a square at Chaikin level 10 and
    // at proposed level 6.
    Polygon square(polygons::unitSquare(), true);
    ChaikinCurve chaikin(&square.control);
    chaikin.level = 10;
    refine(chaikin);
    EXPECT_EQ(chaikin.result->count, 4096u);
    ProposedCurve proposed(&square.control);
    proposed.level = 6;
    refine(proposed);
    EXPECT_EQ(proposed.result->count, 2916u);
}

TEST(CurveTest, ClosedSchemesLeaveDeltaAreaOnAnOpenPolygon)
{
    for (const ClosedScheme &scheme : closedSchemes) {
        Polygon star(polygons::star(), true);
        const auto curve = scheme.create(&star.control);
        curve->level = 2;
        refine(*curve);
        const double accounted = curve->deltaArea;
        EXPECT_NE(accounted, 0.0) << scheme.name;

        star.control.closed = false;
        refine(*curve);
        EXPECT_EQ(curve->deltaArea, accounted) << scheme.name;
        EXPECT_EQ(curve->result->count, 10u) << scheme.name << ": an open polygon is not refined";
    }
}

TEST(CurveTest, ClosedSchemesIgnoreFewerThanThreePoints)
{
    for (const ClosedScheme &scheme : closedSchemes) {
        Polygon segment({{0, 0}, {2, 1}}, true);
        const auto curve = scheme.create(&segment.control);
        curve->level = 3;
        curve->deltaArea = 0.75;
        refine(*curve);
        EXPECT_EQ(curve->result->count, 2u) << scheme.name;
        EXPECT_EQ(curve->deltaArea, 0.75) << scheme.name;
    }
}

// While a control point is dragged, the ghosts of every closed scheme are
// the curve of the polygon with that point at its drag-start position.
TEST(CurveTest, GhostsFollowTheUndraggedCurveAtEveryLevel)
{
    const std::vector<Vector> start = polygons::pentagon();
    for (const ClosedScheme &scheme : closedSchemes) {
        for (std::size_t dragged : {std::size_t{0}, std::size_t{2}, start.size() - 1}) {
            std::vector<Vector> moved = start;
            moved[dragged] = Vector(start[dragged].x() + 1.25, start[dragged].y() - 0.75);
            Polygon during(moved, true);
            Point *point = during.control.points.indexNode(static_cast<std::uint32_t>(dragged + 1))->item;
            point->hasGhost = true;
            point->ghost = start[dragged];
            Polygon undragged(start, true);
            const auto curve = scheme.create(&during.control);
            const auto reference = scheme.create(&undragged.control);
            for (int level = 0; level <= 5; ++level) {
                curve->level = reference->level = level;
                refine(*curve);
                refine(*reference);
                EXPECT_TRUE(pointsNear(ghostsOf(*curve->result), positionsOf(*reference->result), 1e-12))
                    << scheme.name << " dragging point " << dragged + 1 << " at level " << level;
                EXPECT_FALSE(pointsNear(positionsOf(*curve->result), positionsOf(*reference->result), 1e-6))
                    << scheme.name << ": the curve itself follows the drag";
            }
        }
    }
}

// A closed scheme never grows its result past the point budget: it keeps
// the deepest level that fits, exactly, and says so.
TEST(CurveTest, PointBudgetStopsAtTheDeepestLevelThatFits)
{
    Polygon square(polygons::unitSquare(), true);
    BSplineCurve curve(&square.control);
    curve.level = 30;
    refine(curve);
    // 4 * 2^20 points fit, 4 * 2^21 do not.
    EXPECT_EQ(curve.result->count, 4u << 20);
    EXPECT_LE(curve.result->count, Curve::pointBudget);
    EXPECT_GT(2 * curve.result->count, Curve::pointBudget);
    EXPECT_EQ(curve.level, 30);
    EXPECT_EQ(curve.reachedLevel, 20);
    EXPECT_TRUE(curve.limited);

    curve.level = 3;
    refine(curve);
    EXPECT_EQ(curve.result->count, 32u);
    EXPECT_EQ(curve.reachedLevel, 3);
    EXPECT_FALSE(curve.limited);
}

// The view's share of the budget for a curve (pointLimit) stops every
// scheme as the budget does; resubdivide() then makes the curve of the
// polygon as it now is, leaving the dirty flag to the selected curve.
TEST(CurveTest, PointLimitAndResubdivide)
{
    struct Case
    {
        Factory create;
        std::uint32_t points; // on the unit square, at most 100 points
    };
    // Passes of 4 points until the next would pass 100; Bezier splits of
    // the 5-point closed polygon add 4 points each.
    const Case cases[] = {
        {make<ChaikinCurve>(), 64}, {make<BSplineCurve>(), 64}, {make<ProposedCurve>(), 36}, {make<BezierCurve>(), 97}};
    for (const Case &c : cases) {
        Polygon square(polygons::unitSquare(), true);
        Polygon moved({{0, 0}, {1, 0}, {2, 2}, {0, 1}}, true);
        const auto curve = c.create(&square.control);
        const auto reference = c.create(&moved.control);
        for (Curve *each : {curve.get(), reference.get()}) {
            each->pointLimit = 100;
            each->level = 9;
            each->precision = 0.001;
        }
        refine(*curve);
        EXPECT_EQ(curve->result->count, c.points);
        EXPECT_TRUE(curve->limited);

        square.control.points.indexNode(3)->item->position = Vector(2, 2);
        square.control.dirty = false;
        curve->resubdivide();
        refine(*reference);
        EXPECT_FALSE(square.control.dirty);
        EXPECT_TRUE(pointsNear(positionsOf(*curve->result), positionsOf(*reference->result)));
    }
}

} // namespace
