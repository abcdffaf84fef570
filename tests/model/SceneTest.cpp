#include "CurveTesting.h"

#include "model/Document.h"
#include "model/Scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

// The scene's update against what the read-outs show, with no window: the
// areas, the curves it makes (compared with a curve made on its own), the
// dirty flag it owns, the budget shares and the messages.
namespace {

void setPolygon(Scene &scene, const std::vector<Vector> &points, bool closed)
{
    scene.replacePolygon(points, closed);
}

// The scheme's curve made on its own polygon, as the study makes levels.
std::vector<Vector> madeAlone(const Scene &scene, int scheme)
{
    SchemeSetup setup = SchemeSetup::of(scene.curve(scheme));
    Polygon polygon(setup.polygon, setup.closed);
    const std::unique_ptr<Curve> curve = setup.makeCurve(&polygon.control);
    refine(*curve);
    return positionsOf(*curve->result);
}

} // namespace

TEST(SceneTest, ReadoutIsTheAreasOfPolygonAndCurve)
{
    struct Case
    {
        int scheme;
        std::vector<Vector> polygon;
        bool closed;
        int level;
    };
    const Case cases[] = {
        {Schemes::Chaikin, polygons::unitSquare(), true, 1},   {Schemes::BSpline, polygons::star(), true, 3},
        {Schemes::Proposed, polygons::pentagon(), true, 2},    {Schemes::Bezier, polygons::triangle(), true, 0},
        {Schemes::Bezier, polygons::pentagon(), false, 0},     {Schemes::Chaikin, polygons::pentagon(), false, 2},
        {Schemes::Chaikin, {{0, 0}, {3, 1}}, true, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "scheme " << c.scheme << ", " << c.polygon.size() << " points");
        Scene scene;
        setPolygon(scene, c.polygon, c.closed);
        scene.select(c.scheme);
        scene.curve(c.scheme).level = c.level;
        const Scene::Readout read = scene.update();
        const Curve &curve = scene.curve(c.scheme);
        EXPECT_TRUE(read.measured);
        const double area = c.closed && c.polygon.size() > 2 ? clockwiseArea(c.polygon) : 0.0;
        EXPECT_NEAR(read.polygonArea, area, 1e-12);
        if (curve.drawsCurve()) {
            EXPECT_EQ(positionsOf(*curve.result), madeAlone(scene, c.scheme));
            EXPECT_EQ(read.deltaArea, curve.deltaArea);
        } else {
            EXPECT_EQ(read.deltaArea, read.polygonArea) << "no curve, no curve area";
        }
    }
    // Chaikin's corners of the counter-clockwise unit square: 4 x 1/32.
    Scene scene;
    setPolygon(scene, polygons::unitSquare(), true);
    scene.select(Schemes::Chaikin);
    scene.curve(Schemes::Chaikin).level = 1;
    const Scene::Readout read = scene.update();
    EXPECT_EQ(read.polygonArea, -1.0);
    EXPECT_EQ(read.deltaArea, -0.125);
}

TEST(SceneTest, UpdateOwnsTheDirtyFlag)
{
    Scene scene;
    EXPECT_FALSE(scene.update().measured) << "no scheme selected, nothing measured";
    setPolygon(scene, polygons::star(), true);
    scene.select(Schemes::BSpline);
    scene.curve(Schemes::BSpline).level = 2;
    ASSERT_TRUE(scene.stale());
    scene.update();
    const Curve &curve = scene.curve(Schemes::BSpline);
    const std::uint64_t made = curve.resultVersion();
    EXPECT_FALSE(scene.polygon().dirty);
    EXPECT_FALSE(scene.stale());
    scene.update();
    EXPECT_EQ(curve.resultVersion(), made) << "nothing changed, nothing made again";

    // A setting of the selected curve marks the polygon; the next update
    // makes the curve again and clears the mark.
    EXPECT_TRUE(scene.setU(0.3));
    EXPECT_TRUE(scene.stale());
    scene.update();
    EXPECT_NE(curve.resultVersion(), made);
    EXPECT_EQ(positionsOf(*curve.result), madeAlone(scene, Schemes::BSpline));

    // With no scheme selected, compared curves alone clear it too.
    scene.select(Schemes::None);
    scene.setCompared(Schemes::Chaikin, true);
    scene.update();
    EXPECT_FALSE(scene.polygon().dirty);
    EXPECT_EQ(positionsOf(*scene.curve(Schemes::Chaikin).result), madeAlone(scene, Schemes::Chaikin));
}

TEST(SceneTest, SharesOfTheBudgetAndTheLimitMessage)
{
    Scene scene;
    setPolygon(scene, polygons::unitSquare(), true);
    scene.select(Schemes::Chaikin);
    for (int scheme : {Schemes::Bezier, Schemes::BSpline, Schemes::Proposed})
        scene.setCompared(scheme, true);
    const std::uint32_t quarter = Curve::pointBudget / 4;
    std::uint64_t total = 0;
    for (int scheme = 1; scheme <= Schemes::count; ++scheme)
        if (scheme == scene.selected() || scene.study().compared[std::size_t(scheme)])
            total += scene.curve(scheme).pointLimit;
    EXPECT_EQ(scene.curve(Schemes::Chaikin).pointLimit, quarter);
    EXPECT_LE(total, Curve::pointBudget);

    // 4 x 2^18 points fit a quarter, 4 x 2^19 do not.
    scene.setLevel(19);
    Scene::Readout read = scene.update();
    ASSERT_EQ(read.messages.size(), 1u);
    EXPECT_EQ(read.messages[0], "Level 19 limited to 18 (1048576 points, a quarter of the point budget while comparing)");
    EXPECT_EQ(scene.curve(Schemes::Chaikin).result->count, 4u << 18);
    // The same limit again is not told again; a level it reaches clears it.
    scene.markChanged();
    EXPECT_TRUE(scene.update().messages.empty());
    EXPECT_TRUE(scene.setLevel(18).kept) << "a capped result that the level gives again is kept";
    EXPECT_EQ(scene.curve(Schemes::Chaikin).limited, false);

    // Unticking gives the selected curve the whole budget back; a result
    // too large for a smaller share is freed at once.
    for (int scheme : {Schemes::Bezier, Schemes::BSpline, Schemes::Proposed})
        scene.setCompared(scheme, false);
    EXPECT_EQ(scene.curve(Schemes::Chaikin).pointLimit, Curve::pointBudget);
    scene.setCompared(Schemes::BSpline, true);
    scene.setLevel(19);
    scene.update();
    EXPECT_EQ(scene.curve(Schemes::Chaikin).result->count, 4u << 19) << "within three quarters";
    scene.setCompared(Schemes::Chaikin, true);
    scene.select(Schemes::BSpline);
    EXPECT_EQ(scene.curve(Schemes::Chaikin).pointLimit, quarter);
    EXPECT_EQ(scene.curve(Schemes::Chaikin).result, nullptr);
}

TEST(SceneTest, StudyMeasuresAndLegend)
{
    Scene scene;
    setPolygon(scene, polygons::pentagon(), true);
    scene.select(Schemes::Chaikin);
    scene.setLevel(3);
    scene.setShowPasses(true);
    scene.setShowLimit(true);
    scene.update();
    ASSERT_NE(scene.passes(), nullptr);
    EXPECT_EQ(scene.passes()->polygons.size(), 3u);
    EXPECT_NE(scene.limit(), nullptr) << "Chaikin at u 0.75 converges to the quadratic B-spline";
    EXPECT_TRUE(scene.convergenceStale());
    EXPECT_EQ(scene.measureConvergence(ConvergenceSeries::defaultWorkBudget).lastLevel(), 3);
    EXPECT_FALSE(scene.convergenceStale());
    scene.setU(0.6);
    scene.update();
    EXPECT_EQ(scene.limit(), nullptr);

    EXPECT_TRUE(scene.legend().empty());
    scene.setCompared(Schemes::BSpline, true);
    scene.replacePolygon(polygons::pentagon(), false);
    scene.update();
    std::vector<Scene::LegendLine> legend = scene.legend();
    ASSERT_EQ(legend.size(), 2u);
    EXPECT_EQ(legend[0].text, "Chaikin (needs a closed polygon)");
    EXPECT_EQ(legend[1].text, "Cubic B-Spline (needs a closed polygon)");

    // Each curve with its level, or where the budget stopped it, and u;
    // the Bezier curve with the depth it reached.
    scene.replacePolygon(polygons::pentagon(), true);
    scene.setCompared(Schemes::Bezier, true);
    scene.curve(Schemes::BSpline).level = 30;
    scene.update();
    legend = scene.legend();
    ASSERT_EQ(legend.size(), 3u);
    EXPECT_EQ(legend[0].text, "Chaikin (level 3, u 0.60)");
    EXPECT_EQ(legend[1].text, "Bezier (depth " + std::to_string(scene.curve(Schemes::Bezier).reachedLevel) +
                                  ", u 0.50)");
    EXPECT_EQ(legend[2].text, "Cubic B-Spline (reached 18: a quarter of the point budget while comparing, u 0.50)");

    // The key of Depth Colour follows the lines while the selected Bezier
    // curve shows it, also with nothing compared.
    for (int scheme : {Schemes::Bezier, Schemes::BSpline})
        scene.setCompared(scheme, false);
    scene.select(Schemes::Bezier);
    scene.curve(Schemes::Bezier).depthColour = true;
    scene.update();
    legend = scene.legend();
    ASSERT_EQ(legend.size(), 1u);
    EXPECT_TRUE(legend[0].depthKey);
}

// What the read-outs say beside the figures: why the selected curve draws
// nothing, that its u diverges, and where its subdivision stopped.
TEST(SceneTest, HintsAndWhereTheCurveStopped)
{
    struct Case
    {
        int scheme;
        std::vector<Vector> polygon;
        bool closed;
        double u;
        std::string hint;
    };
    const std::vector<Vector> two{{0, 0}, {3, 1}};
    const Case cases[] = {
        {Schemes::Chaikin, polygons::pentagon(), false, 0.75, "Chaikin refines closed polygons: tick Closed Curve"},
        {Schemes::Proposed, polygons::star(), false, 0.5,
         "Vantrell Proposed refines closed polygons: tick Closed Curve"},
        {Schemes::BSpline, two, true, 0.5, "Cubic B-Spline needs 3 control points or more: click in the view to add them"},
        {Schemes::Chaikin, two, false, 0.75,
         "Chaikin refines closed polygons of 3 points or more: click to add points, and tick Closed Curve"},
        {Schemes::Bezier, two, false, 0.5, "Bezier needs 3 control points or more: click in the view to add them"},
        {Schemes::Bezier, polygons::pentagon(), false, -1.0, ""},
        {Schemes::Chaikin, polygons::pentagon(), true, 0.75, ""},
        {Schemes::Proposed, polygons::pentagon(), true, -1.0,
         "Vantrell Proposed diverges at u = -1.00: its levels settle on no curve"},
        {Schemes::BSpline, polygons::pentagon(), true, -0.5,
         "Cubic B-Spline diverges at u = -0.50: its levels settle on no curve"},
        {Schemes::Chaikin, polygons::pentagon(), true, 0.03, "Chaikin at u = 0.03: convergence not proven"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.hint);
        Scene scene;
        setPolygon(scene, c.polygon, c.closed);
        scene.select(c.scheme);
        scene.setU(c.u);
        const Scene::Readout read = scene.update();
        EXPECT_EQ(read.hint, c.hint);
        EXPECT_EQ(read.reached, "");
    }

    Scene scene;
    EXPECT_EQ(scene.update().hint, "") << "nothing to say without a scheme";
    setPolygon(scene, polygons::triangle(), true);
    scene.select(Schemes::Chaikin);
    for (int scheme : {Schemes::Bezier, Schemes::BSpline, Schemes::Proposed})
        scene.setCompared(scheme, true);
    scene.setLevel(99);
    EXPECT_EQ(scene.update().reached, "reached 19: a quarter of the point budget while comparing")
        << "3 x 2^19 points fill a quarter";
    scene.setLevel(19);
    EXPECT_EQ(scene.update().reached, "");
    for (int scheme : {Schemes::Bezier, Schemes::BSpline, Schemes::Proposed})
        scene.setCompared(scheme, false);

    // A Bezier curve of too many control points is not split at all.
    std::vector<Vector> many;
    for (int i = 0; i < 20000; ++i)
        many.emplace_back(-8 + 16.0 * i / 20000, i % 2 == 0 ? -5 : 5);
    setPolygon(scene, many, false);
    scene.select(Schemes::Bezier);
    const Scene::Readout read = scene.update();
    EXPECT_EQ(read.reached, "depth 0: split work budget (20000 control points)");
    ASSERT_EQ(read.messages.size(), 1u);
    EXPECT_EQ(read.messages[0], "Bezier curve cut at depth 0: split work budget (20000 control points)");
    EXPECT_EQ(scene.curve(Schemes::Bezier).result->count, 20000u);
}

TEST(SceneTest, DocumentRoundTrip)
{
    Document document;
    document.points = polygons::star();
    document.closed = true;
    document.scheme = Schemes::Proposed;
    document.settings(Schemes::Proposed) = {0.3, 0.2, 4, false, true, true};
    document.settings(Schemes::Bezier) = {0.5, 1.5, 0, true, false};
    document.settings(Schemes::Custom) = {0.5, 0.2, 3, false, false, true};
    document.customMask = MaskPresets::bspline(2, 3);
    document.axis = false;
    document.gridSpacing = 5;
    Scene scene;
    scene.apply(document);
    EXPECT_EQ(scene.document(), document);
    // While the levels play, the document keeps the level set.
    ASSERT_TRUE(scene.startPlaying());
    EXPECT_EQ(scene.selectedCurve()->level, 0);
    EXPECT_EQ(scene.document(), document);
    EXPECT_EQ(scene.selected(), Schemes::Proposed);
    EXPECT_TRUE(scene.stale());
}
