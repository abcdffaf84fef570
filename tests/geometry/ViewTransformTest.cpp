#include "geometry/ViewTransform.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace {

// Where world point (x, y) sits in the view, as fractions of its side from
// the left and bottom edges.
struct Place
{
    double across, up;
};

Place placeOf(const ViewTransform &v, double x, double y)
{
    return {(x - v.left()) / v.side(), (y - v.bottom()) / v.side()};
}

struct ZoomCase
{
    const char *name;
    double startZoom; // reached by a zoom about the origin
    double panX, panY;
    double x, y;      // the world point zoomed about
    double factor;
};

} // namespace

TEST(ViewTransformTest, ResetIsTheWorldSquare)
{
    ViewTransform v;
    EXPECT_TRUE(v.isReset());
    EXPECT_EQ(v.left(), -10.0);
    EXPECT_EQ(v.right(), 10.0);
    EXPECT_EQ(v.bottom(), -10.0);
    EXPECT_EQ(v.top(), 10.0);
    // The matrix gluOrtho2D(-10, 10, -10, 10) makes.
    double m[16];
    v.projectionMatrix(m);
    const double expected[16] = {0.1, 0, 0, 0, 0, 0.1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], expected[i]) << i;

    v.zoomAbout(3, 4, 7);
    v.pan(1, 1);
    v.reset();
    EXPECT_TRUE(v.isReset());
}

TEST(ViewTransformTest, ProjectionMapsTheVisibleSquareOntoClipSpace)
{
    ViewTransform v;
    v.zoomAbout(0, 0, 8);
    v.pan(1.5, -0.25);
    double m[16];
    v.projectionMatrix(m);
    for (const auto [x, y, ndcX, ndcY] : {std::array<double, 4>{v.left(), v.bottom(), -1, -1},
                                          std::array<double, 4>{v.right(), v.top(), 1, 1},
                                          std::array<double, 4>{v.centreX(), v.centreY(), 0, 0}}) {
        EXPECT_NEAR(m[0] * x + m[12], ndcX, 1e-12);
        EXPECT_NEAR(m[5] * y + m[13], ndcY, 1e-12);
    }
}

// The point zoomed about keeps its place, whatever the view was, as long
// as no limit is met.
TEST(ViewTransformTest, ZoomKeepsThePointInPlace)
{
    const ZoomCase cases[] = {
        {"in about a corner", 1, 0, 0, -9.5, 9.5, 1.25},
        {"out about an off-centre point", 4, 2, -1, 3.1, -1.7, 0.8},
        {"deep in, far from the centre", 5000, 0.3, 0.2, 0.3005, 0.1999, 1.25},
        {"several notches at once", 1, 0, 0, 4, 5, std::pow(1.25, 3.5)},
        {"outside the view", 2, 0, 0, 8, -8, 1.5},
    };
    for (const ZoomCase &c : cases) {
        ViewTransform v;
        v.zoomAbout(0, 0, c.startZoom);
        v.pan(c.panX, c.panY);
        const Place before = placeOf(v, c.x, c.y);
        const double zoom = v.zoom();
        EXPECT_TRUE(v.zoomAbout(c.x, c.y, c.factor)) << c.name;
        EXPECT_DOUBLE_EQ(v.zoom(), zoom * c.factor) << c.name;
        const Place after = placeOf(v, c.x, c.y);
        EXPECT_NEAR(after.across, before.across, 1e-9) << c.name;
        EXPECT_NEAR(after.up, before.up, 1e-9) << c.name;
    }
}

TEST(ViewTransformTest, ZoomStopsAtItsLimits)
{
    ViewTransform v;
    for (int i = 0; i < 100; ++i)
        v.zoomAbout(1, 1, 1.25);
    EXPECT_EQ(v.zoom(), ViewTransform::maxZoom);
    EXPECT_TRUE(v.atZoomLimit());
    EXPECT_FALSE(v.zoomAbout(1, 1, 1.25)); // already there: nothing changes
    EXPECT_NEAR(v.centreX(), 1, 1e-3);

    for (int i = 0; i < 100; ++i)
        v.zoomAbout(0, 0, 0.8);
    EXPECT_EQ(v.zoom(), ViewTransform::minZoom);
    EXPECT_EQ(v.side(), 80.0);
    EXPECT_FALSE(v.zoomAbout(0, 0, 0.5));

    // Nonsense factors change nothing.
    const ViewTransform before = v;
    for (double bad : {0.0, -2.0, std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_FALSE(v.zoomAbout(0, 0, bad));
    EXPECT_FALSE(v.zoomAbout(std::nan(""), 0, 2));
    EXPECT_EQ(v.zoom(), before.zoom());
    EXPECT_EQ(v.centreX(), before.centreX());
}

// However far the user pans or zooms about a far point, the centre stays
// within reach of the world square.
TEST(ViewTransformTest, CentreStaysWithinReach)
{
    const double reach = ViewTransform::centreReach;
    ViewTransform v;
    EXPECT_TRUE(v.pan(1000, -1000));
    EXPECT_EQ(v.centreX(), reach);
    EXPECT_EQ(v.centreY(), -reach);
    EXPECT_TRUE(v.atCentreLimit());
    EXPECT_FALSE(v.pan(1, -1));
    EXPECT_TRUE(v.pan(-1, 1));
    EXPECT_FALSE(v.atCentreLimit());

    v.reset();
    v.zoomAbout(0, 0, 0.25);
    v.pan(-reach, reach);
    // At the farthest zoom-out the view reaches twice as far as the centre
    // can go: zooming in about its far corner stops the centre at the reach.
    EXPECT_TRUE(v.zoomAbout(-79, 79, 100));
    EXPECT_EQ(v.centreX(), -reach);
    EXPECT_EQ(v.centreY(), reach);
    EXPECT_DOUBLE_EQ(v.zoom(), 25);

    EXPECT_FALSE(v.pan(std::nan(""), 0));
}
