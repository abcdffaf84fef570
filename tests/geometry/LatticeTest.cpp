#include "geometry/Lattice.h"

#include <gtest/gtest.h>

#include <cmath>

// Where clicked and dragged points land: on the decimals of a pixel, so
// that their coordinates read back as the short numbers the read-out
// shows, or on the grid's crossings.
TEST(LatticeTest, DecimalOfAPixel)
{
    struct Case
    {
        double pixel, step;
    };
    // 840 and 600 pixels over 20 units, zoomed 10x and 10,000x, and a
    // pixel of exactly a decimal.
    const Case cases[] = {{20.0 / 840, 0.01}, {20.0 / 600, 0.01}, {2.0 / 840, 0.001}, {0.002 / 840, 1e-6}, {0.1, 0.1}};
    for (const Case &c : cases) {
        const Lattice lattice = Lattice::decimalFor(c.pixel);
        EXPECT_NEAR(lattice.step, c.step, c.step * 1e-9) << c.pixel;
        EXPECT_LE(lattice.step, c.pixel * (1 + 1e-12)) << "a point moves by half a pixel at most";
    }
    for (double bad : {0.0, -1.0, double(NAN), double(INFINITY)})
        EXPECT_EQ(Lattice::decimalFor(bad).step, 0.0);
}

TEST(LatticeTest, PointsLandOnShortDecimals)
{
    const Lattice hundredths = Lattice::decimalFor(20.0 / 840);
    // What mapping a pixel gives, and the decimal it is stored as: the
    // nearest double to it, which prints back as the short decimal.
    struct Case
    {
        double x, y, expectedX, expectedY;
    };
    const Case cases[] = {{6.000000000000001, -2.9999999999999996, 6, -3},
                          {0.1 + 0.2, 1.005000000001, 0.3, 1.01},
                          {-7.123456, 9.994999, -7.12, 9.99}};
    for (const Case &c : cases) {
        const Vector placed = hundredths.nearest(Vector(c.x, c.y, 0.25));
        EXPECT_EQ(placed, Vector(c.expectedX, c.expectedY, 0.25)) << c.x << ", " << c.y;
    }
    const Vector p(1.0 / 3, 2.0 / 3);
    EXPECT_EQ(Lattice{}.nearest(p), p) << "no lattice leaves a point alone";
}

TEST(LatticeTest, GridCrossingsFromTheGridsOrigin)
{
    // The grid's lines run at x = -10 + 3k and y = 10 - 3k.
    const Lattice grid{3.0, -10.0, 10.0};
    EXPECT_EQ(grid.nearest(Vector(0.4, 0.4)), Vector(-1, 1));
    EXPECT_EQ(grid.nearest(Vector(1.6, -0.6)), Vector(2, -2));
    EXPECT_EQ(grid.nearest(Vector(-10, 10)), Vector(-10, 10));
}
