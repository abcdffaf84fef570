#include "analysis/BasisCurve.h"
#include "curves/MaskPresets.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The uniform cubic B-spline on [0, 4], piece by piece.
double cubicBSpline(double x)
{
    const double t = x - std::floor(x);
    switch (int(std::floor(x))) {
    case 0: return t * t * t / 6;
    case 1: return (-3 * t * t * t + 3 * t * t + 3 * t + 1) / 6;
    case 2: return (3 * t * t * t - 6 * t * t + 4) / 6;
    case 3: return (1 - t) * (1 - t) * (1 - t) / 6;
    default: return 0.0;
    }
}

// The cubic B-spline's cascade approaches its closed form everywhere on
// the support; the linear B-spline's is its hat with slopes +1 and -1
// exactly; the four-point scheme interpolates: 1 at its centre, 0 at the
// other integers.
TEST(BasisCurveTest, CascadeAgainstClosedForms)
{
    const BasisCurve::Samples cubic = BasisCurve::of(MaskPresets::bspline(3, 2));
    ASSERT_EQ(cubic.x.size(), cubic.phi.size());
    EXPECT_LE(cubic.x.size(), BasisCurve::maxSamples);
    EXPECT_DOUBLE_EQ(cubic.x.front() + cubic.x.back(), 4.0);
    for (std::size_t i = 0; i < cubic.x.size(); ++i)
        EXPECT_NEAR(cubic.phi[i], cubicBSpline(cubic.x[i]), 1e-5) << "x = " << cubic.x[i];

    const BasisCurve::Samples hat = BasisCurve::of(MaskPresets::bspline(1, 2));
    ASSERT_EQ(hat.slope.size(), hat.x.size() - 1);
    for (std::size_t i = 0; i < hat.slope.size(); ++i)
        EXPECT_DOUBLE_EQ(hat.slope[i], hat.slopeX[i] < 1.0 ? 1.0 : -1.0) << "x = " << hat.slopeX[i];

    const BasisCurve::Samples four = BasisCurve::of(MaskPresets::fourPoint(1.0 / 16));
    const double step = four.x[1] - four.x[0];
    for (std::size_t i = 0; i < four.x.size(); ++i) {
        if (const double k = four.x[i]; k == std::floor(k)) {
            EXPECT_EQ(four.phi[i], k == 3 ? 1.0 : 0.0) << "x = " << k;
        }
    }
    EXPECT_EQ(four.phi[std::size_t(std::lround((3 - four.x[0]) / step))], 1.0);
}

} // namespace
