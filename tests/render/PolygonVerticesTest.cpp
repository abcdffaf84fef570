#include "geometry/ControlPoints.h"
#include "render/Canvas.h"
#include "render/Frame.h"
#include "render/PolygonVertices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

// The control polygon as the screen and a page get it: on screen a long
// polygon's line is simplified and its plain points thinned to what the
// pixels show, while every point in another state stays; a page keeps
// every point and shows no state.
namespace {

// Counts what a layout draws: vertices per shape, and dots per colour.
class RecordingCanvas : public Canvas
{
public:
    void setColour(const Colour &) override {}
    void setLineWidth(float) override {}
    void setPointSize(float) override {}
    void setSmooth(bool) override {}
    void draw(Shape shape, const Vertices &v) override
    {
        vertices[shape] += v.count;
        for (std::size_t i = 0; v.rgb && i < v.count; ++i) {
            const float *c = v.rgb + 3 * i;
            ++dotColours[std::to_string(int(c[0])) + std::to_string(int(c[1])) + std::to_string(int(c[2]))];
        }
    }
    void text(double, double, const std::string &) override {}
    void picture(const QImage &, int) override {}

    std::map<Shape, std::size_t> vertices;
    std::map<std::string, std::size_t> dotColours; // "100" red, "001" blue, "011" cyan, "010" green
};

} // namespace

TEST(PolygonVerticesTest, ScreenShowsWhatItsPixelsCanAndPagesEverything)
{
    // 20,000 points round a circle of radius 8: about 50 points a pixel
    // of an 840-pixel view of the world square.
    constexpr int n = 20000;
    ControlPoints polygon;
    for (int i = 0; i < n; ++i)
        polygon.insertPoint(Vector(8 * std::cos(2 * M_PI * i / n), 8 * std::sin(2 * M_PI * i / n)));
    polygon.closed = true;
    Point &selected = *polygon.points.indexNode(10)->item, &under = *polygon.points.indexNode(11)->item;
    Point &dragged = *polygon.points.indexNode(5000)->item;
    selected.selected = true;
    under.highlighted = true;
    dragged.ghost = dragged.position;
    dragged.hasGhost = true;

    ViewTransform view;
    const Frame screen = Frame::screen(view, 20.0 / 840, 840, 1.0, false);
    PolygonVertices layout;
    layout.fill(polygon, screen);
    RecordingCanvas drawn;
    layout.draw(drawn, screen);
    // The circle is 2,100 pixels round: a few thousand segments at most,
    // a dot a pixel, and every point in a state of its own.
    EXPECT_LT(layout.lineVertices(), 3000u);
    EXPECT_EQ(drawn.vertices[Canvas::Shape::Loop], layout.lineVertices());
    EXPECT_GT(layout.dotCount(), 1500u);
    EXPECT_LT(layout.dotCount(), 2300u);
    EXPECT_EQ(drawn.dotColours["001"], 1u);
    EXPECT_EQ(drawn.dotColours["011"], 1u);
    EXPECT_EQ(drawn.dotColours["010"], 1u);
    EXPECT_EQ(layout.ringCount(), 1u);
    EXPECT_EQ(drawn.vertices[Canvas::Shape::Pairs], 2u * PolygonVertices::ringSides + 4u) << "ring and ghost edges";

    // A page: every point and edge, no state, no ring.
    const Frame page = Frame::page(view, 283, true);
    layout.fill(polygon, page);
    RecordingCanvas printed;
    layout.draw(printed, page);
    EXPECT_EQ(layout.lineVertices(), std::size_t(n));
    EXPECT_EQ(printed.vertices[Canvas::Shape::Loop], std::size_t(n));
    EXPECT_EQ(printed.dotColours["100"], std::size_t(n));
    EXPECT_EQ(layout.ringCount(), 0u);
}
