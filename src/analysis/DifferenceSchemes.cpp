#include "analysis/DifferenceSchemes.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

// How many of the derivatives a^(j)(w) / j! = sum C(k, j) a_k w^(k - j),
// j = 0, 1, ..., vanish at the primitive m-th roots of unity (w = -1, or
// w = e^(2 pi i / 3) and its conjugate, which gives the conjugate sums).
int vanishingDerivatives(const std::vector<double> &a, int m, double tolerance)
{
    const double half = std::sqrt(3.0) / 2.0;
    const std::complex<double> powers3[3] = {{1.0, 0.0}, {-0.5, half}, {-0.5, -half}};
    const std::complex<double> powers2[2] = {{1.0, 0.0}, {-1.0, 0.0}};
    const std::complex<double> *powers = m == 2 ? powers2 : powers3;
    const auto n = long(a.size()) - 1;
    int j = 0;
    // s (m - 1) <= n: s_m^s has degree s (m - 1).
    for (; long(j + 1) * (m - 1) <= n; ++j) {
        std::complex<double> sum = 0.0;
        double size = 0.0;
        double binomial = 1.0; // C(k, j), k = j first
        for (long k = j; k <= n; ++k) {
            if (k > j)
                binomial = binomial * double(k) / double(k - j);
            const double term = binomial * a[std::size_t(k)];
            sum += term * powers[(k - j) % m];
            size += std::abs(term);
        }
        if (!(size > 0.0) || !(std::abs(sum) <= tolerance * size))
            break;
    }
    return j;
}

} // namespace

DifferenceSchemes::DifferenceSchemes(const std::vector<double> &a, int m) : arity(m)
{
    quotients.push_back(a);
    const int s = a.empty() ? 0 : vanishingDerivatives(a, m, tolerance);
    for (int k = 0; k < s; ++k)
        quotients.push_back(divide(quotients.back(), m));
}

std::vector<double> DifferenceSchemes::divide(const std::vector<double> &a, int m)
{
    // a(z) = s_m(z) q(z): from the bottom q_k = a_k - (q_(k-1) + ... +
    // q_(k-m+1)), from the top q_k = a_(k+m-1) - (q_(k+1) + ... +
    // q_(k+m-1)); the lower half comes from the bottom, the upper from
    // the top.
    const std::size_t width = std::size_t(m) - 1;
    if (a.size() <= width)
        return {};
    const std::size_t size = a.size() - width;
    const std::size_t middle = size / 2;
    std::vector<double> q(size, 0.0);
    for (std::size_t k = 0; k < middle; ++k) {
        double value = a[k];
        for (std::size_t i = 1; i <= width && i <= k; ++i)
            value -= q[k - i];
        q[k] = value;
    }
    for (std::size_t k = size; k-- > middle;) {
        double value = a[k + width];
        for (std::size_t i = 1; i <= width && k + i < size; ++i)
            value -= q[k + i];
        q[k] = value;
    }
    return q;
}

std::vector<double> DifferenceSchemes::scheme(int k) const
{
    std::vector<double> b = quotients[std::size_t(k) + 1];
    const double factor = std::pow(double(arity), k);
    for (double &v : b)
        v *= factor;
    return b;
}

int DifferenceSchemes::stepCap(int m, std::size_t length)
{
    int cap = 1;
    double width = double(m) * m;
    const double work = double(length) * double(length);
    while (width <= double(widestPass) && width * work <= normWork) {
        ++cap;
        width *= m;
    }
    return cap;
}

std::vector<double> DifferenceSchemes::norms(const std::vector<double> &b, int m, int cap, bool untilContraction)
{
    std::vector<double> out;
    std::vector<double> c = b;
    std::size_t stride = std::size_t(m); // m^L
    for (int L = 1; L <= cap && !b.empty(); ++L) {
        double norm = 0.0;
        for (std::size_t r = 0; r < stride && r < c.size(); ++r) {
            double sum = 0.0;
            for (std::size_t i = r; i < c.size(); i += stride)
                sum += std::abs(c[i]);
            norm = std::max(norm, sum);
        }
        out.push_back(std::isfinite(norm) ? norm : INFINITY);
        if ((untilContraction && norm < contractionBelow) || L == cap || !std::isfinite(norm))
            break;
        // b^[L+1](z) = b(z) b^[L](z^m): one pass of the scheme b over the
        // coefficients of b^[L].
        std::vector<double> next((c.size() - 1) * std::size_t(m) + b.size(), 0.0);
        for (std::size_t i = 0; i < c.size(); ++i) {
            if (c[i] == 0.0)
                continue;
            double *row = &next[i * std::size_t(m)];
            for (std::size_t k = 0; k < b.size(); ++k)
                row[k] += b[k] * c[i];
        }
        c = std::move(next);
        stride *= std::size_t(m);
    }
    return out;
}
