#include "analysis/BasisValues.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Solves the n x n system (row-major a) a x = b in place by Gaussian
// elimination with partial pivoting; false when a pivot vanishes next to
// the matrix's largest entry (singular within rounding).
bool solve(std::vector<double> &a, std::vector<double> &b, std::size_t n)
{
    double largest = 0.0;
    for (const double v : a)
        largest = std::max(largest, std::abs(v));
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pivot = k;
        for (std::size_t i = k + 1; i < n; ++i)
            if (std::abs(a[i * n + k]) > std::abs(a[pivot * n + k]))
                pivot = i;
        if (!(std::abs(a[pivot * n + k]) > 1e-11 * largest))
            return false;
        if (pivot != k) {
            for (std::size_t j = 0; j < n; ++j)
                std::swap(a[k * n + j], a[pivot * n + j]);
            std::swap(b[k], b[pivot]);
        }
        for (std::size_t i = k + 1; i < n; ++i) {
            const double f = a[i * n + k] / a[k * n + k];
            if (f == 0.0)
                continue;
            for (std::size_t j = k; j < n; ++j)
                a[i * n + j] -= f * a[k * n + j];
            b[i] -= f * b[k];
        }
    }
    for (std::size_t k = n; k-- > 0;) {
        double sum = b[k];
        for (std::size_t j = k + 1; j < n; ++j)
            sum -= a[k * n + j] * b[j];
        b[k] = sum / a[k * n + k];
    }
    return true;
}

// One point x = p / q of the orbit: the next point's numerator and the
// carry c = floor(m x), and how many values phi(x + j) can be non-zero.
struct Orbit
{
    long p;
    long carry;
    std::size_t count;
};

} // namespace

std::optional<std::vector<double>> BasisValues::at(const std::vector<double> &a, int m, long p, long q)
{
    if (a.empty() || (m != 2 && m != 3) || q < 1 || q > 64 || p < 0 || p >= q)
        return std::nullopt;
    const long n = long(a.size()) - 1;
    // phi(x + j) may be non-zero for 0 <= x + j <= n / (m - 1), i.e.
    // j (m - 1) q <= n q - (m - 1) p.
    const auto countAt = [&](long numerator) {
        return std::size_t((n * q - (m - 1) * numerator) / ((m - 1) * q) + 1);
    };
    std::vector<Orbit> orbit;
    std::size_t cycleStart = 0;
    for (long x = p;;) {
        const auto seen = std::find_if(orbit.begin(), orbit.end(), [x](const Orbit &o) { return o.p == x; });
        if (seen != orbit.end()) {
            cycleStart = std::size_t(seen - orbit.begin());
            break;
        }
        orbit.push_back({x, (m * x) / q, countAt(x)});
        x = (m * x) % q;
    }

    // The cycle's unknowns, point after point.
    std::vector<std::size_t> first;
    std::size_t size = 0;
    for (std::size_t t = cycleStart; t < orbit.size(); ++t) {
        first.push_back(size);
        size += orbit[t].count;
    }
    if (size > maxUnknowns)
        return std::nullopt;
    std::vector<double> matrix(size * size, 0.0), rhs(size, 0.0);
    const std::size_t period = orbit.size() - cycleStart;
    for (std::size_t k = 0; k < period; ++k) {
        const Orbit &o = orbit[cycleStart + k];
        const std::size_t next = (k + 1) % period;
        for (std::size_t j = 0; j < o.count; ++j) {
            const std::size_t row = first[k] + j;
            matrix[row * size + row] -= 1.0;
            for (std::size_t l = 0; l < orbit[cycleStart + next].count; ++l) {
                const long index = o.carry + m * long(j) - long(l);
                if (index >= 0 && index <= n)
                    matrix[row * size + first[next] + l] += a[std::size_t(index)];
            }
        }
    }
    // The rows of B - I sum to zero over the cycle (every sub-mask sums to
    // 1), so one of them is replaced by the scaling: the first point's
    // values sum to 1.
    const std::vector<double> replaced(matrix.begin(), matrix.begin() + long(size));
    std::fill(matrix.begin(), matrix.begin() + long(size), 0.0);
    std::fill(matrix.begin(), matrix.begin() + long(orbit[cycleStart].count), 1.0);
    rhs[0] = 1.0;
    if (!solve(matrix, rhs, size))
        return std::nullopt;
    // The dropped equation must hold too, and every point's values must
    // sum to 1: else 1 is no simple eigenvalue of a normalised scheme.
    double residual = 0.0, scale = 1.0;
    for (std::size_t j = 0; j < size; ++j) {
        residual += replaced[j] * rhs[j];
        scale = std::max(scale, std::abs(rhs[j]));
    }
    if (!(std::abs(residual) <= 1e-9 * scale))
        return std::nullopt;
    for (std::size_t k = 0; k < period; ++k) {
        double sum = 0.0;
        for (std::size_t j = 0; j < orbit[cycleStart + k].count; ++j)
            sum += rhs[first[k] + j];
        if (!(std::abs(sum - 1.0) <= 1e-9 * scale))
            return std::nullopt;
    }

    // Back along the orbit to x0.
    std::vector<double> values(rhs.begin() + long(first[0]), rhs.begin() + long(first[0] + orbit[cycleStart].count));
    for (std::size_t t = cycleStart; t-- > 0;) {
        const Orbit &o = orbit[t];
        std::vector<double> here(o.count, 0.0);
        for (std::size_t j = 0; j < o.count; ++j)
            for (std::size_t l = 0; l < values.size(); ++l) {
                const long index = o.carry + m * long(j) - long(l);
                if (index >= 0 && index <= n)
                    here[j] += a[std::size_t(index)] * values[l];
            }
        values = std::move(here);
    }
    // What the solve leaves where phi vanishes is rounding: say 0.
    double largest = 0.0;
    for (const double v : values)
        largest = std::max(largest, std::abs(v));
    for (double &v : values)
        if (std::abs(v) <= 1e-14 * largest)
            v = 0.0;
    return values;
}
