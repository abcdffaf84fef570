#include "analysis/LargestEigenvalue.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Row-major square matrix view.
struct Square
{
    std::vector<double> &a;
    std::size_t n;
    double &operator()(std::size_t i, std::size_t j) { return a[i * n + j]; }
};

// Scales rows and columns by powers of two (exact) until each row and
// its column have about the same norm: similar matrix, smaller norm, so
// rounding in the QR iteration hurts the eigenvalues less.
void balance(Square a)
{
    const double radix = 2.0;
    bool done = false;
    for (int sweep = 0; !done && sweep < 100; ++sweep) {
        done = true;
        for (std::size_t i = 0; i < a.n; ++i) {
            double c = 0.0, r = 0.0;
            for (std::size_t j = 0; j < a.n; ++j)
                if (j != i) {
                    c += std::abs(a(j, i));
                    r += std::abs(a(i, j));
                }
            if (c == 0.0 || r == 0.0)
                continue;
            const double sum = c + r;
            double f = 1.0;
            for (double g = r / radix; c < g; c *= radix * radix)
                f *= radix;
            for (double g = r * radix; c > g; c /= radix * radix)
                f /= radix;
            if ((c + r) / f < 0.95 * sum) {
                done = false;
                for (std::size_t j = 0; j < a.n; ++j) {
                    a(i, j) /= f;
                    a(j, i) *= f;
                }
            }
        }
    }
}

// Gaussian elimination with pivoting below the subdiagonal, each step a
// similarity: the result is upper Hessenberg with the same eigenvalues.
void toHessenberg(Square a)
{
    for (std::size_t m = 1; m + 1 < a.n; ++m) {
        double x = 0.0;
        std::size_t pivot = m;
        for (std::size_t j = m; j < a.n; ++j)
            if (std::abs(a(j, m - 1)) > std::abs(x)) {
                x = a(j, m - 1);
                pivot = j;
            }
        if (pivot != m) {
            for (std::size_t j = m - 1; j < a.n; ++j)
                std::swap(a(pivot, j), a(m, j));
            for (std::size_t j = 0; j < a.n; ++j)
                std::swap(a(j, pivot), a(j, m));
        }
        if (x == 0.0)
            continue;
        for (std::size_t i = m + 1; i < a.n; ++i) {
            double y = a(i, m - 1);
            if (y == 0.0)
                continue;
            y /= x;
            a(i, m - 1) = 0.0;
            for (std::size_t j = m; j < a.n; ++j)
                a(i, j) -= y * a(m, j);
            for (std::size_t j = 0; j < a.n; ++j)
                a(j, m) += y * a(j, i);
        }
    }
}

double withSign(double magnitude, double sign)
{
    return sign >= 0.0 ? std::abs(magnitude) : -std::abs(magnitude);
}

// One Francis double-shift sweep on the active block rows l .. nn, with
// the shift from x, y, w (the trailing 2 x 2 block).
void francisSweep(Square a, int l, int nn, double x, double y, double w)
{
    int m = nn - 2;
    double p = 0.0, q = 0.0, r = 0.0, z = 0.0;
    // The first column of (H - s1)(H - s2), started where the
    // subdiagonal is small enough not to disturb the rest.
    for (; m >= l; --m) {
        const auto k = std::size_t(m);
        z = a(k, k);
        const double rr = x - z, ss = y - z;
        p = (rr * ss - w) / a(k + 1, k) + a(k, k + 1);
        q = a(k + 1, k + 1) - z - rr - ss;
        r = a(k + 2, k + 1);
        const double s = std::abs(p) + std::abs(q) + std::abs(r);
        p /= s;
        q /= s;
        r /= s;
        if (m == l)
            break;
        const double u = std::abs(a(k, k - 1)) * (std::abs(q) + std::abs(r));
        const double v = std::abs(p) * (std::abs(a(k - 1, k - 1)) + std::abs(z) + std::abs(a(k + 1, k + 1)));
        if (u <= std::numeric_limits<double>::epsilon() * v)
            break;
    }
    for (int i = m + 2; i <= nn; ++i) {
        a(std::size_t(i), std::size_t(i - 2)) = 0.0;
        if (i != m + 2)
            a(std::size_t(i), std::size_t(i - 3)) = 0.0;
    }
    // Chase the bulge down with 3 x 3 Householder reflections.
    for (int k = m; k <= nn - 1; ++k) {
        const auto kk = std::size_t(k);
        if (k != m) {
            p = a(kk, kk - 1);
            q = a(kk + 1, kk - 1);
            r = k != nn - 1 ? a(kk + 2, kk - 1) : 0.0;
            x = std::abs(p) + std::abs(q) + std::abs(r);
            if (x != 0.0) {
                p /= x;
                q /= x;
                r /= x;
            }
        }
        const double s = withSign(std::sqrt(p * p + q * q + r * r), p);
        if (s == 0.0)
            continue;
        if (k == m) {
            if (l != m)
                a(kk, kk - 1) = -a(kk, kk - 1);
        } else {
            a(kk, kk - 1) = -s * x;
        }
        p += s;
        x = p / s;
        y = q / s;
        z = r / s;
        q /= p;
        r /= p;
        for (int j = k; j <= nn; ++j) {
            const auto jj = std::size_t(j);
            double t = a(kk, jj) + q * a(kk + 1, jj);
            if (k != nn - 1) {
                t += r * a(kk + 2, jj);
                a(kk + 2, jj) -= t * z;
            }
            a(kk + 1, jj) -= t * y;
            a(kk, jj) -= t * x;
        }
        const int last = std::min(nn, k + 3);
        for (int i = l; i <= last; ++i) {
            const auto ii = std::size_t(i);
            double t = x * a(ii, kk) + y * a(ii, kk + 1);
            if (k != nn - 1) {
                t += z * a(ii, kk + 2);
                a(ii, kk + 2) -= t * r;
            }
            a(ii, kk + 1) -= t * q;
            a(ii, kk) -= t;
        }
    }
}

// The eigenvalues of the upper Hessenberg matrix a (destroyed), deflating
// one real or a complex-conjugate pair at a time; the largest modulus.
std::optional<double> hessenbergRadius(Square a)
{
    double norm = 0.0;
    for (std::size_t i = 0; i < a.n; ++i)
        for (std::size_t j = i > 0 ? i - 1 : 0; j < a.n; ++j)
            norm += std::abs(a(i, j));
    const double eps = std::numeric_limits<double>::epsilon();
    double radius = 0.0;
    double shift = 0.0;
    int nn = int(a.n) - 1;
    while (nn >= 0) {
        int iterations = 0;
        int l = 0;
        do {
            // A negligible subdiagonal entry splits off the block l .. nn.
            for (l = nn; l >= 1; --l) {
                const auto k = std::size_t(l);
                double s = std::abs(a(k - 1, k - 1)) + std::abs(a(k, k));
                if (s == 0.0)
                    s = norm;
                if (std::abs(a(k, k - 1)) <= eps * s) {
                    a(k, k - 1) = 0.0;
                    break;
                }
            }
            l = std::max(l, 0);
            const auto last = std::size_t(nn);
            double x = a(last, last);
            if (l == nn) {
                radius = std::max(radius, std::abs(x + shift));
                --nn;
                continue;
            }
            double y = a(last - 1, last - 1);
            double w = a(last, last - 1) * a(last - 1, last);
            if (l == nn - 1) {
                // A 2 x 2 block: a real pair or a complex-conjugate pair.
                const double p = 0.5 * (y - x);
                const double q = p * p + w;
                const double z = std::sqrt(std::abs(q));
                x += shift;
                if (q >= 0.0) {
                    const double big = p + withSign(z, p);
                    radius = std::max(radius, std::abs(x + big));
                    radius = std::max(radius, big != 0.0 ? std::abs(x - w / big) : std::abs(x + big));
                } else {
                    radius = std::max(radius, std::hypot(x + p, z));
                }
                nn -= 2;
                continue;
            }
            if (iterations == 60)
                return std::nullopt;
            if (iterations == 10 || iterations == 20 || iterations == 40) {
                // Exceptional shift: breaks the cycles that the
                // standard shift can fall into.
                shift += x;
                for (int i = 0; i <= nn; ++i)
                    a(std::size_t(i), std::size_t(i)) -= x;
                const double s = std::abs(a(last, last - 1)) + std::abs(a(last - 1, last - 2));
                x = y = 0.75 * s;
                w = -0.4375 * s * s;
            }
            ++iterations;
            francisSweep(a, l, nn, x, y, w);
        } while (l < nn - 1);
    }
    return radius;
}

} // namespace

std::optional<double> LargestEigenvalue::of(std::vector<double> matrix, std::size_t n)
{
    if (n == 0)
        return 0.0;
    if (matrix.size() != n * n)
        return std::nullopt;
    for (const double v : matrix)
        if (!std::isfinite(v))
            return std::nullopt;
    if (n == 1)
        return std::abs(matrix[0]);
    Square a{matrix, n};
    balance(a);
    toHessenberg(a);
    const std::optional<double> radius = hessenbergRadius(a);
    if (radius && !std::isfinite(*radius))
        return std::nullopt;
    return radius;
}
