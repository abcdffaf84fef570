#include <gtest/gtest.h>

#include "analysis/LargestEigenvalue.h"

#include <cmath>
#include <limits>
#include <random>

namespace {

// Q D Q^T for a random rotation Q (Householder reflections) of the block
// diagonal D: the eigenvalues are D's.
std::vector<double> conjugated(const std::vector<double> &d, std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> normal;
    std::vector<double> a = d;
    for (int reflection = 0; reflection < 3; ++reflection) {
        std::vector<double> v(n);
        double norm = 0.0;
        for (double &x : v) {
            x = normal(random);
            norm += x * x;
        }
        // a <- H a H with H = I - 2 v v^T / |v|^2.
        const auto reflect = [&](bool rows) {
            for (std::size_t k = 0; k < n; ++k) {
                double dot = 0.0;
                for (std::size_t i = 0; i < n; ++i)
                    dot += v[i] * (rows ? a[i * n + k] : a[k * n + i]);
                for (std::size_t i = 0; i < n; ++i)
                    (rows ? a[i * n + k] : a[k * n + i]) -= 2.0 * dot / norm * v[i];
            }
        };
        reflect(true);
        reflect(false);
    }
    return a;
}

TEST(LargestEigenvalueTest, KnownEigenvalues)
{
    struct Case
    {
        const char *name;
        std::vector<double> matrix;
        std::size_t n;
        double radius;
        double tolerance;
    };
    const double c = std::cos(0.7), s = std::sin(0.7);
    const Case cases[] = {
        {"empty", {}, 0, 0.0, 0.0},
        {"one", {-3.5}, 1, 3.5, 0.0},
        {"rotation by 0.7, scaled by 1.5", {1.5 * c, -1.5 * s, 1.5 * s, 1.5 * c}, 2, 1.5, 1e-15},
        // x^3 - 2x^2 - 5x + 6 = (x - 1)(x + 2)(x - 3)
        {"companion", {2, 5, -6, 1, 0, 0, 0, 1, 0}, 3, 3.0, 1e-14},
        // x^4 + 1: four roots on the unit circle, two complex pairs
        {"x^4 + 1", {0, 0, 0, -1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}, 4, 1.0, 1e-14},
        {"Jordan block of 2", {2, 1, 0, 0, 2, 1, 0, 0, 2}, 3, 2.0, 1e-5},
        {"triangular, far from normal", {0.5, 1e6, 3, 0, -0.9, 1e6, 0, 0, 0.2}, 3, 0.9, 1e-12},
        {"nilpotent", {0, 1, 0, 0, 0, 1, 0, 0, 0}, 3, 0.0, 1e-12},
        {"rotated diagonal", conjugated({4, 0, 0, 0, 0, -4.25, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.5}, 4, 7), 4, 4.25, 1e-13},
        {"rotated complex pair", conjugated({1, -3, 0, 3, 1, 0, 0, 0, 2}, 3, 8), 3, std::sqrt(10.0), 1e-13},
    };
    for (const Case &k : cases) {
        const std::optional<double> rho = LargestEigenvalue::of(k.matrix, k.n);
        ASSERT_TRUE(rho) << k.name;
        EXPECT_NEAR(*rho, k.radius, k.tolerance * std::max(1.0, k.radius)) << k.name;
    }
}

TEST(LargestEigenvalueTest, LargerRandomEigenvalues)
{
    // 40 eigenvalues: 20 reals and 10 complex pairs, the largest a pair.
    const std::size_t n = 40;
    std::vector<double> d(n * n, 0.0);
    for (std::size_t i = 0; i < 20; ++i)
        d[i * n + i] = -1.0 + 0.1 * double(i);
    for (std::size_t p = 0; p < 10; ++p) {
        const std::size_t i = 20 + 2 * p;
        const double re = 0.3 * double(p) - 1.0, im = 0.1 + 0.2 * double(p);
        d[i * n + i] = d[(i + 1) * n + i + 1] = re;
        d[i * n + i + 1] = -im;
        d[(i + 1) * n + i] = im;
    }
    const double largest = std::hypot(0.3 * 9 - 1.0, 0.1 + 0.2 * 9);
    const std::optional<double> rho = LargestEigenvalue::of(conjugated(d, n, 9), n);
    ASSERT_TRUE(rho);
    EXPECT_NEAR(*rho, largest, 1e-12);
}

TEST(LargestEigenvalueTest, RefusesWhatItCannotRead)
{
    EXPECT_FALSE(LargestEigenvalue::of({1, std::numeric_limits<double>::quiet_NaN(), 0, 1}, 2));
    EXPECT_FALSE(LargestEigenvalue::of({1, 2, 3}, 2));
}

} // namespace
