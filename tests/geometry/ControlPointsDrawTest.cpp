#include "geometry/ControlPoints.h"
#include "render/GlDrawing.h"
#include "support/Feedback.h"
#include "support/GlContext.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>
#include <vector>

namespace {

GlContext *context = nullptr;

const std::string red = "1.00,0.00,0.00", blue = "0.00,0.00,1.00", green = "0.00,1.00,0.00",
                  cyan = "0.00,1.00,1.00", grey = "0.60,0.60,0.60", yellow = "1.00,1.00,0.00";

// A segment as "x0,y0 -> x1,y1 colour" for readable comparisons.
std::string describe(const FeedbackItem &item)
{
    char text[160];
    const auto &a = item.vertices.front();
    const auto &b = item.vertices.back();
    if (item.kind == FeedbackItem::Point)
        std::snprintf(text, sizeof text, "point %.2f,%.2f %s", a.x, a.y, colourOf(a).c_str());
    else
        std::snprintf(text, sizeof text, "line %.2f,%.2f -> %.2f,%.2f %s", a.x, a.y,
                      b.x, b.y, colourOf(a).c_str());
    return text;
}

class ControlPointsDrawTest : public testing::Test
{
protected:
    ControlPoints polygon;

    void SetUp() override { ASSERT_TRUE(context && context->valid()); }

    void add(std::initializer_list<std::pair<double, double>> pts)
    {
        for (const auto &[x, y] : pts)
            polygon.insertPoint(Vector(x, y));
    }

    std::vector<std::string> drawn()
    {
        std::vector<std::string> result;
        for (const auto &item : captureFeedback([this] { polygon.draw(); }))
            result.push_back(describe(item));
        return result;
    }
};

} // namespace

TEST_F(ControlPointsDrawTest, OpenPolygonPointsThenStrip)
{
    add({{0, 0}, {1, 0}, {1, 1}});
    const std::vector<std::string> expected = {
        "point 0.00,0.00 " + red,
        "point 1.00,0.00 " + red,
        "point 1.00,1.00 " + red,
        "line 0.00,0.00 -> 1.00,0.00 " + yellow,
        "line 1.00,0.00 -> 1.00,1.00 " + yellow,
    };
    EXPECT_EQ(drawn(), expected);
}

TEST_F(ControlPointsDrawTest, ClosedPolygonLoopsBack)
{
    add({{0, 0}, {1, 0}, {1, 1}});
    polygon.closed = true;
    const auto items = drawn();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items.back(), "line 1.00,1.00 -> 0.00,0.00 " + yellow);
}

TEST_F(ControlPointsDrawTest, StateColoursInPriorityOrder)
{
    add({{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    polygon.points.indexNode(1)->item->selected = true;
    polygon.points.indexNode(1)->item->highlighted = true;
    polygon.points.indexNode(2)->item->highlighted = true;
    Point &dragged = *polygon.points.indexNode(3)->item;
    dragged.hasGhost = true;
    dragged.highlighted = true;
    dragged.ghost = Vector(2, -1);
    const auto items = drawn();
    const std::vector<std::string> expected = {
        // ghost edges around the dragged point
        "line 1.00,0.00 -> 2.00,-1.00 " + grey,
        "line 2.00,-1.00 -> 3.00,0.00 " + grey,
        "point 0.00,0.00 " + blue,
        "point 1.00,0.00 " + cyan,
        "point 2.00,0.00 " + green,
        "point 2.00,-1.00 " + grey,
        "point 3.00,0.00 " + red,
        "line 0.00,0.00 -> 1.00,0.00 " + yellow,
        "line 1.00,0.00 -> 2.00,0.00 " + yellow,
        "line 2.00,0.00 -> 3.00,0.00 " + yellow,
    };
    EXPECT_EQ(items, expected);
}

struct GhostCase
{
    const char *name;
    std::uint32_t dragged;
    bool closed;
    std::vector<std::string> ghostEdges;
};

TEST_F(ControlPointsDrawTest, GhostEdgesAtTheEnds)
{
    const GhostCase cases[] = {
        {"first, open", 1, false, {"line 5.00,5.00 -> 1.00,0.00 " + grey}},
        {"first, closed", 1, true, {"line 5.00,5.00 -> 2.00,0.00 " + grey, "line 5.00,5.00 -> 1.00,0.00 " + grey}},
        {"last, open", 3, false, {"line 1.00,0.00 -> 5.00,5.00 " + grey}},
        {"last, closed", 3, true, {"line 5.00,5.00 -> 0.00,0.00 " + grey, "line 1.00,0.00 -> 5.00,5.00 " + grey}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ControlPoints p;
        for (double x : {0.0, 1.0, 2.0})
            p.insertPoint(Vector(x, 0));
        p.closed = c.closed;
        Point &d = *p.points.indexNode(c.dragged)->item;
        d.hasGhost = true;
        d.ghost = Vector(5, 5);
        std::vector<std::string> lines;
        for (const auto &item : captureFeedback([&] { p.draw(); }))
            if (item.kind == FeedbackItem::Line && colourOf(item.vertices[0]) == grey)
                lines.push_back(describe(item));
        EXPECT_EQ(lines, c.ghostEdges);
    }
}

TEST_F(ControlPointsDrawTest, SingleClosedPointGhostJoinsItself)
{
    add({{1, 1}});
    polygon.closed = true;
    Point &p = *polygon.points.head->item;
    p.hasGhost = true;
    p.ghost = Vector(0, 0);
    const auto items = drawn();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "line 0.00,0.00 -> 1.00,1.00 " + grey);
    EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const std::string &s) { return s.find(grey) != s.npos && s.rfind("line", 0) == 0; }), 1);
}

TEST_F(ControlPointsDrawTest, HighlightedEdgesIncludingTheClosingOne)
{
    add({{0, 0}, {1, 0}, {1, 1}});
    polygon.closed = true;
    polygon.points.indexNode(1)->item->edgeHighlighted = true;
    polygon.points.indexNode(3)->item->edgeHighlighted = true;
    auto items = drawn();
    std::vector<std::string> blueLines;
    for (const auto &s : items)
        if (s.find(blue) != s.npos)
            blueLines.push_back(s);
    EXPECT_EQ(blueLines, (std::vector<std::string>{"line 0.00,0.00 -> 1.00,0.00 " + blue,
                                                   "line 1.00,1.00 -> 0.00,0.00 " + blue}));
}

TEST_F(ControlPointsDrawTest, RestoresGlState)
{
    add({{0, 0}, {1, 0}});
    captureFeedback([this] { polygon.draw(); });
    GLfloat size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    EXPECT_FALSE(glIsEnabled(GL_POINT_SMOOTH));
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    GlContext gl;
    context = &gl;
    GlDrawing::install(); // draw() draws with OpenGL
    return RUN_ALL_TESTS();
}
