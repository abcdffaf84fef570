#include "analysis/RegularitySweep.h"
#include "curves/ChaikinCurve.h"
#include "curves/MaskPresets.h"

#include <gtest/gtest.h>

namespace {

// The sweep runs from the first weight to the last exactly, and at the
// weights where the closed form is known it gives it: Chaikin at u = 0.75
// is the quadratic B-spline (regularity 2, C1), the four-point scheme at
// w = 1/16 has upper bound exactly 2 and is C1, at w = 0 it is the linear
// B-spline (regularity 1, C0).
TEST(RegularitySweepTest, KnownWeightsGiveTheirRegularity)
{
    const RegularitySweep chaikin(&ChaikinCurve::maskAt, -1.0, 0.99);
    EXPECT_EQ(chaikin.count(), RegularitySweep::defaultCount);
    EXPECT_EQ(chaikin.weight(0), -1.0);
    EXPECT_EQ(chaikin.weight(chaikin.count() - 1), 0.99);
    const RegularitySweep quadratic(&ChaikinCurve::maskAt, 0.25, 0.75, 3);
    const RegularitySweep::Sample b = quadratic.at(2);
    EXPECT_EQ(b.weight, 0.75);
    ASSERT_TRUE(b.lower && b.upper);
    EXPECT_NEAR(*b.lower, 2.0, 1e-6);
    EXPECT_NEAR(*b.upper, 2.0, 1e-6);
    EXPECT_EQ(b.smoothness, 1);

    const RegularitySweep four(&MaskPresets::fourPoint, 0.0, 0.0625, 2);
    const RegularitySweep::Sample linear = four.at(0), tension = four.at(1);
    ASSERT_TRUE(linear.upper && tension.upper);
    EXPECT_NEAR(*linear.upper, 1.0, 1e-6);
    EXPECT_EQ(linear.smoothness, 0);
    EXPECT_NEAR(*tension.upper, 2.0, 1e-6);
    EXPECT_EQ(tension.smoothness, 1);
}

} // namespace
