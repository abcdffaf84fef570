#include "analysis/TransitionMatrices.h"

#include "analysis/LargestEigenvalue.h"

#include <algorithm>
#include <cmath>

namespace {

// A word is a Lyndon word when it is strictly smaller than each of its
// proper rotations: one word per class of rotations, and no power of a
// shorter word.
bool isLyndon(const std::vector<int> &word)
{
    const std::size_t n = word.size();
    for (std::size_t shift = 1; shift < n; ++shift) {
        for (std::size_t i = 0; i < n; ++i) {
            const int a = word[i], b = word[(i + shift) % n];
            if (a < b)
                break;
            if (a > b || i + 1 == n)
                return false;
        }
    }
    return true;
}

std::vector<double> multiply(const std::vector<double> &a, const std::vector<double> &b, std::size_t n)
{
    std::vector<double> c(n * n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < n; ++k) {
            const double f = a[i * n + k];
            if (f == 0.0)
                continue;
            for (std::size_t j = 0; j < n; ++j)
                c[i * n + j] += f * b[k * n + j];
        }
    return c;
}

} // namespace

TransitionMatrices::TransitionMatrices(const std::vector<double> &c, int m) : arity(m)
{
    const long length = long(std::max<std::size_t>(c.size(), 1));
    size = std::size_t((length + m - 2 + (m - 2)) / (m - 1));
    for (int e = 0; e < m; ++e) {
        std::vector<double> t(size * size, 0.0);
        for (std::size_t i = 0; i < size; ++i)
            for (std::size_t j = 0; j < size; ++j) {
                const long index = m * long(i) - long(j) + e;
                if (index >= 0 && index < long(c.size()))
                    t[i * size + j] = c[std::size_t(index)];
            }
        matrices.push_back(std::move(t));
    }
}

int TransitionMatrices::wordCap() const
{
    const double cube = double(size) * double(size) * double(size);
    int cap = 1;
    double words = double(arity) + double(arity) * arity; // products made up to length cap + 1
    while (cap < (arity == 2 ? 8 : 5) && words * cube <= wordWork) {
        ++cap;
        words = words * arity + arity;
    }
    return cap;
}

double TransitionMatrices::radiusEstimate(int maxLength) const
{
    double best = 0.0;
    std::vector<int> word;
    for (int e = 0; e < arity; ++e) {
        word.assign(1, e);
        visit(word, matrices[std::size_t(e)], maxLength, best);
    }
    return best;
}

void TransitionMatrices::visit(std::vector<int> &word, const std::vector<double> &product, int maxLength,
                               double &best) const
{
    if (isLyndon(word))
        if (const std::optional<double> rho = LargestEigenvalue::of(product, size))
            best = std::max(best, std::pow(*rho, 1.0 / double(word.size())));
    if (int(word.size()) >= maxLength)
        return;
    for (int e = 0; e < arity; ++e) {
        word.push_back(e);
        visit(word, multiply(product, matrices[std::size_t(e)], size), maxLength, best);
        word.pop_back();
    }
}
