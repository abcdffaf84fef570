#include "CurveTesting.h"

#include "curves/BSplineCurve.h"
#include "curves/BezierCurve.h"
#include "curves/ChaikinCurve.h"
#include "curves/ProposedCurve.h"
#include "render/Frame.h"
#include "render/GlCanvas.h"
#include "render/GlDrawing.h"
#include "render/SceneRenderer.h"
#include "support/Feedback.h"
#include "support/GlContext.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace {

GlContext *context = nullptr;

const std::string grey = "0.60,0.60,0.60", curveColour = "0.65,0.53,1.00", white = "1.00,1.00,1.00";

std::string where(const FeedbackVertex &v)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%.4f, %.4f)", v.x, v.y);
    return text;
}

bool at(const FeedbackVertex &v, const Vector &p)
{
    return near(v.x, p.x()) && near(v.y, p.y());
}

// The vertex sequence of a closed curve's loop: every inner point twice and
// the closing edge from the last point back to the first.
std::vector<Vector> loopSequence(const std::vector<Vector> &points)
{
    std::vector<Vector> sequence;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        sequence.push_back(points[i]);
        sequence.push_back(points[i + 1]);
    }
    sequence.push_back(points.back());
    sequence.push_back(points.front());
    return sequence;
}

// Checks that items from index from on are the GL_LINE_LOOP through
// vertices, all in colour; returns the index after the loop.
std::size_t expectLoop(const std::vector<FeedbackItem> &items, std::size_t from, const std::vector<Vector> &vertices,
                       const std::string &colour)
{
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const std::size_t k = from + i;
        if (k >= items.size()) {
            ADD_FAILURE() << "loop ends after " << i << " of " << vertices.size() << " segments";
            return k;
        }
        const FeedbackItem &item = items[k];
        EXPECT_EQ(item.kind, FeedbackItem::Line) << "segment " << i;
        const Vector &start = vertices[i];
        const Vector &end = vertices[(i + 1) % vertices.size()];
        EXPECT_TRUE(at(item.vertices[0], start) && at(item.vertices[1], end))
            << "segment " << i << " runs " << where(item.vertices[0]) << " -> " << where(item.vertices[1]);
        EXPECT_EQ(colourOf(item.vertices[0]), colour) << "segment " << i;
    }
    return from + vertices.size();
}

// A compared curve's outline at width 1.5 as feedback capture sees it.
void outline(Curve &curve)
{
    GlCanvas canvas;
    Frame frame;
    frame.repeatVertices = true;
    SceneRenderer::drawOutline(canvas, frame, curve, 1.5f);
}

class CurveDrawTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(context && context->valid()); }

    static std::vector<FeedbackItem> rendered(Curve &curve)
    {
        return captureFeedback([&curve] { curve.render(); });
    }
};

TEST_F(CurveDrawTest, ClosedSchemesDrawGhostLoopThenCurveLoopThenPoints)
{
    const std::vector<std::function<std::unique_ptr<Curve>(ControlPoints *)>> schemes = {
        [](ControlPoints *c) { return std::make_unique<ChaikinCurve>(c); },
        [](ControlPoints *c) { return std::make_unique<BSplineCurve>(c); },
        [](ControlPoints *c) { return std::make_unique<ProposedCurve>(c); },
    };
    for (const auto &create : schemes) {
        Polygon square(polygons::unitSquare(), true);
        const auto curve = create(&square.control);
        curve->level = 1;
        curve->curvePoints = true;
        const auto items = rendered(*curve);
        const std::vector<Vector> points = positionsOf(*curve->result);
        std::size_t next = expectLoop(items, 0, loopSequence(points), grey);
        next = expectLoop(items, next, loopSequence(points), curveColour);
        ASSERT_EQ(items.size(), next + points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(items[next + i].kind, FeedbackItem::Point);
            EXPECT_TRUE(at(items[next + i].vertices[0], points[i])) << "point " << i;
            EXPECT_EQ(colourOf(items[next + i].vertices[0]), white);
        }
        GLfloat width = 0;
        glGetFloatv(GL_LINE_WIDTH, &width);
        EXPECT_EQ(width, 1.0f);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    }
}

TEST_F(CurveDrawTest, LevelZeroDrawsThePolygonAsTheCurve)
{
    Polygon triangle(polygons::triangle(), true);
    ChaikinCurve curve(&triangle.control);
    const auto items = rendered(curve);
    const std::vector<Vector> sequence = loopSequence(polygons::triangle());
    EXPECT_EQ(expectLoop(items, expectLoop(items, 0, sequence, grey), sequence, curveColour), items.size());
}

TEST_F(CurveDrawTest, GhostLoopShowsTheCurveBeforeTheDrag)
{
    Polygon pentagon(polygons::pentagon(), true);
    Point *dragged = pentagon.control.points.indexNode(2)->item;
    dragged->hasGhost = true;
    dragged->ghost = dragged->position;
    dragged->position = Vector(4, -5);
    BSplineCurve curve(&pentagon.control);
    curve.level = 2;
    const auto items = rendered(curve);
    const std::size_t next = expectLoop(items, 0, loopSequence(ghostsOf(*curve.result)), grey);
    expectLoop(items, next, loopSequence(positionsOf(*curve.result)), curveColour);
}

TEST_F(CurveDrawTest, OpenPolygonDrawsOnlyTheBezierCurve)
{
    Polygon star(polygons::star(), false);
    ChaikinCurve chaikin(&star.control);
    BSplineCurve bspline(&star.control);
    ProposedCurve proposed(&star.control);
    for (Curve *curve : std::initializer_list<Curve *>{&chaikin, &bspline, &proposed}) {
        curve->level = 2;
        star.control.dirty = true;
        EXPECT_TRUE(rendered(*curve).empty());
    }
    BezierCurve bezier(&star.control);
    star.control.dirty = true;
    EXPECT_FALSE(rendered(bezier).empty());
}

TEST_F(CurveDrawTest, NothingWithoutThreePointsOrWithoutAPolygon)
{
    Polygon segment({{0, 0}, {3, 1}}, true);
    BezierCurve bezier(&segment.control);
    BSplineCurve bspline(&segment.control);
    EXPECT_TRUE(rendered(bezier).empty());
    EXPECT_TRUE(rendered(bspline).empty());
    EXPECT_EQ(bezier.result, nullptr);
    EXPECT_TRUE(segment.control.dirty);

    ChaikinCurve detached(nullptr);
    EXPECT_TRUE(rendered(detached).empty());
}

TEST_F(CurveDrawTest, RenderSubdividesOnlyWhenDirty)
{
    Polygon square(polygons::unitSquare(), true);
    ChaikinCurve curve(&square.control);
    curve.level = 2;
    rendered(curve);
    const List<Point> *first = curve.result;
    EXPECT_EQ(first->count, 16u);
    EXPECT_FALSE(square.control.dirty);

    curve.level = 3; // a setting alone does not rebuild ...
    const auto again = rendered(curve);
    EXPECT_EQ(curve.result, first);
    EXPECT_EQ(curve.result->count, 16u);
    EXPECT_FALSE(again.empty());

    square.control.dirty = true; // ... the shared flag does
    rendered(curve);
    EXPECT_EQ(curve.result->count, 32u);
}

TEST_F(CurveDrawTest, BezierDrawsAnOpenPolylineWithGhost)
{
    Polygon pentagon(polygons::pentagon(), true);
    Point *dragged = pentagon.control.points.head->item;
    dragged->hasGhost = true;
    dragged->ghost = Vector(-4, -4);
    BezierCurve curve(&pentagon.control);
    curve.precision = 1.0;
    const auto items = rendered(curve);
    const List<Point> &result = *curve.result;
    ASSERT_EQ(items.size(), 2 * (result.count - 1));
    std::size_t k = 0;
    for (const bool ghosts : {true, false}) {
        for (const Node<Point> *n = result.head; n != result.tail; n = n->next, ++k) {
            const Point &a = *n->item;
            const Point &b = *n->next->item;
            const FeedbackItem &item = items[k];
            EXPECT_TRUE(at(item.vertices[0], ghosts && a.hasGhost ? a.ghost : a.position)) << k;
            EXPECT_TRUE(at(item.vertices[1], ghosts && b.hasGhost ? b.ghost : b.position)) << k;
            EXPECT_EQ(colourOf(item.vertices[0]), ghosts ? grey : curveColour);
        }
    }
    // Closed: the polyline starts and ends at the first control point.
    EXPECT_TRUE(at(items[result.count - 1].vertices[0], dragged->position));
    EXPECT_TRUE(at(items.back().vertices[1], dragged->position));
}

TEST_F(CurveDrawTest, BezierDepthColourShadesEachVertexByItsLevel)
{
    Polygon triangle(polygons::triangle(), false);
    BezierCurve curve(&triangle.control);
    curve.setU(0.05); // one side splits deeply, past depth 10
    curve.depthColour = true;
    const auto items = rendered(curve);
    const List<Point> &result = *curve.result;
    const std::size_t edges = result.count - 1;
    ASSERT_EQ(items.size(), 3 * edges);
    ASSERT_GT(curve.reachedLevel, 10);
    std::size_t k = 2 * edges; // after the ghost and the wide curve pass
    int blackVertices = 0;
    for (const Node<Point> *n = result.head; n != result.tail; n = n->next, ++k) {
        const Point *ends[] = {n->item, n->next->item};
        for (int e = 0; e < 2; ++e) {
            const double g = std::max(0.0, 1.0 - 0.1 * ends[e]->level);
            const FeedbackVertex &v = items[k].vertices[static_cast<std::size_t>(e)];
            EXPECT_NEAR(v.r, g, 1e-6);
            EXPECT_NEAR(v.g, g, 1e-6);
            EXPECT_NEAR(v.b, g, 1e-6);
            blackVertices += ends[e]->level >= 10 && v.r == 0.0f;
        }
    }
    EXPECT_GT(blackVertices, 0);
    EXPECT_EQ(colourOf(items[2 * edges].vertices[0]), white) << "control point copies are white";
}

// A compared curve's outline: the curve alone, in the colour the caller
// set, during a drag too (no ghost, no points); nothing where the scheme
// draws nothing; line width back at 1.
TEST_F(CurveDrawTest, OutlineIsTheCurveAloneInTheCurrentColour)
{
    Polygon pentagon(polygons::pentagon(), true);
    Point *dragged = pentagon.control.points.indexNode(2)->item;
    dragged->hasGhost = true;
    dragged->ghost = Vector(0, -5);
    BSplineCurve bspline(&pentagon.control);
    BezierCurve bezier(&pentagon.control);
    bspline.level = 2;
    bspline.curvePoints = bezier.curvePoints = true;
    const std::string blue = "0.10,0.25,0.85";
    for (Curve *curve : std::initializer_list<Curve *>{&bspline, &bezier}) {
        curve->resubdivide();
        const auto items = captureFeedback([curve] {
            glColor3f(0.1f, 0.25f, 0.85f);
            outline(*curve);
        });
        const std::vector<Vector> points = positionsOf(*curve->result);
        if (curve == &bspline) {
            EXPECT_EQ(expectLoop(items, 0, loopSequence(points), blue), items.size());
        } else {
            ASSERT_EQ(items.size(), points.size() - 1);
            for (std::size_t i = 0; i < items.size(); ++i) {
                EXPECT_TRUE(at(items[i].vertices[0], points[i]) && at(items[i].vertices[1], points[i + 1]));
                EXPECT_EQ(colourOf(items[i].vertices[0]), blue);
            }
        }
        GLfloat width = 0;
        glGetFloatv(GL_LINE_WIDTH, &width);
        EXPECT_EQ(width, 1.0f);
    }
    pentagon.control.closed = false;
    EXPECT_TRUE(captureFeedback([&] { outline(bspline); }).empty());
}

// An export of a curve longer than a page can show issues it simplified
// within printTolerance (here 0.01 pt on an 840-pixel page): every vertex
// of the curve lies within it of the issued loop, whose vertices are the
// curve's own in order. A curve under the limit is issued in full.
TEST_F(CurveDrawTest, PrintToleranceSimplifiesOnlyCurvesOverTheLimit)
{
    Polygon hexagon({{-8, 0}, {-4, 7}, {4, 7}, {8, 0}, {4, -7}, {-4, -7}}, true);
    ChaikinCurve curve(&hexagon.control);
    const double tolerance = 0.01 * 20.0 / 840.0;
    // The PostScript export's frame of an 840-pixel view.
    const Frame page = Frame::postScript(ViewTransform(), 20.0 / 840.0, 840);
    auto printed = [&page, &curve] {
        curve.refresh();
        return captureFeedback([&] {
            GlCanvas canvas;
            SceneRenderer::drawCurve(canvas, page, curve);
        });
    };
    curve.level = 5;
    EXPECT_EQ(printed().size(), 4u * 6 * 32) << "ghost and curve loops in full";

    curve.level = 16;
    hexagon.control.dirty = true;
    const auto items = printed();
    ASSERT_GT(curve.result->count, Frame::printSegmentLimit);
    std::vector<FeedbackVertex> loop;
    for (const FeedbackItem &item : items)
        if (item.kind == FeedbackItem::Line && colourOf(item.vertices[0]) == curveColour)
            loop.push_back(item.vertices[0]);
    const std::vector<Vector> full = positionsOf(*curve.result);
    ASSERT_GT(loop.size(), 100u);
    EXPECT_LT(loop.size(), full.size() / 100);
    EXPECT_EQ(items.size(), 2 * loop.size()) << "the ghost loop is simplified alike";

    auto toSegment = [](const Vector &p, const FeedbackVertex &a, const FeedbackVertex &b) {
        const double ex = b.x - a.x, ey = b.y - a.y, px = p.x() - a.x, py = p.y() - a.y;
        const double t = std::clamp((px * ex + py * ey) / std::max(ex * ex + ey * ey, 1e-30), 0.0, 1.0);
        return std::hypot(px - t * ex, py - t * ey);
    };
    const std::size_t m = loop.size();
    std::size_t j = 0; // the issued vertex at or before full[i]
    double worst = 0;
    for (std::size_t i = 0; i < full.size(); ++i) {
        if (j + 1 < m && near(loop[j + 1].x, full[i].x(), 1e-5) && near(loop[j + 1].y, full[i].y(), 1e-5))
            ++j;
        double nearest = 1e9;
        for (std::size_t k = j + m - 2; k <= j + m + 2; ++k)
            nearest = std::min(nearest, toSegment(full[i], loop[k % m], loop[(k + 1) % m]));
        worst = std::max(worst, nearest);
    }
    EXPECT_EQ(j, m - 1) << "every issued vertex is a vertex of the curve, in order";
    EXPECT_LE(worst, tolerance + 1e-5);
}

} // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    GlContext gl;
    context = &gl;
    GlDrawing::install(); // draw() draws with OpenGL
    return RUN_ALL_TESTS();
}
