#include "geometry/Vector.h"

#include <gtest/gtest.h>

TEST(VectorTest, DefaultIsOriginAndElementsAreAddressable)
{
    Vector v;
    EXPECT_EQ(v, Vector(0, 0, 0));
    v[0] = 1.5;
    v[1] = -2;
    v[2] = 3;
    EXPECT_EQ(v, Vector(1.5, -2, 3));
    const Vector copy = v;
    v[0] = 9;
    EXPECT_EQ(copy[0], 1.5) << "copies are independent";
}

TEST(VectorTest, ArithmeticIsComponentWise)
{
    const Vector a(1, 2, 3), b(-4, 0.5, 2);
    EXPECT_EQ(a + b, Vector(-3, 2.5, 5));
    EXPECT_EQ(a * -2.0, Vector(-2, -4, -6));
    EXPECT_EQ(a / 2.0, Vector(0.5, 1, 1.5));
}

TEST(VectorTest, DistanceCountsAllThreeCoordinates)
{
    EXPECT_DOUBLE_EQ(distance(Vector(0, 0, 0), Vector(0, 0, 0.2)), 0.2);
    EXPECT_DOUBLE_EQ(distance(Vector(1, 2, 0), Vector(4, 6, 0)), 5.0);
    EXPECT_DOUBLE_EQ(distance(Vector(1, 1, 1), Vector(1, 1, 1)), 0.0);
}
