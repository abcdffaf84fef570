#include "geometry/ViewTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

// The view tests drive zooms and pans through the window; these are the
// exact values and the inputs no wheel delivers.

TEST(ViewTransformTest, ResetIsTheWorldSquare)
{
    ViewTransform v;
    v.zoomAbout(3, 4, 7);
    v.pan(1, 1);
    v.reset();
    EXPECT_TRUE(v.isReset());
    EXPECT_EQ(v.left(), -10.0);
    EXPECT_EQ(v.top(), 10.0);
    // Exactly the matrix gluOrtho2D(-10, 10, -10, 10) makes.
    double m[16];
    v.projectionMatrix(m);
    const double expected[16] = {0.1, 0, 0, 0, 0, 0.1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], expected[i]) << i;
}

// However far the user pans or zooms about a far point, the centre stays
// within reach of the world square, and the call says whether it moved.
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

    // At the farthest zoom-out the view reaches twice as far as the centre
    // can go: zooming in about its far corner stops the centre at the reach.
    v.reset();
    v.zoomAbout(0, 0, 0.25);
    v.pan(-reach, reach);
    EXPECT_TRUE(v.zoomAbout(-79, 79, 100));
    EXPECT_EQ(v.centreX(), -reach);
    EXPECT_EQ(v.centreY(), reach);
    EXPECT_DOUBLE_EQ(v.zoom(), 25);
}

TEST(ViewTransformTest, NonsenseChangesNothing)
{
    ViewTransform v;
    v.zoomAbout(2, 3, 4);
    const double zoom = v.zoom(), x = v.centreX();
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    for (double bad : {0.0, -2.0, inf, nan})
        EXPECT_FALSE(v.zoomAbout(0, 0, bad)) << bad;
    EXPECT_FALSE(v.zoomAbout(nan, 0, 2));
    EXPECT_FALSE(v.pan(inf, 0));
    EXPECT_EQ(v.zoom(), zoom);
    EXPECT_EQ(v.centreX(), x);
}
