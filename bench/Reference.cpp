#include "Reference.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace reference {
namespace {

Vec3 mix(const Vec3 &a, const Vec3 &b, double t)
{
    const double s = 1 - t;
    return {a.x * t + b.x * s, a.y * t + b.y * s, a.z * t + b.z * s};
}

double signedArea(const Vec3 &t, const Vec3 &a, const Vec3 &b)
{
    return (a.y * t.x - t.x * b.y - a.x * t.y + t.y * b.x + a.x * b.y - a.y * b.x) * 0.5;
}

double length(const Vec3 &a, const Vec3 &b)
{
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

void chaikin(Result &r, const Polyline &control, int level, double u)
{
    r.points.assign(control.begin(), control.end());
    r.deltaArea = 0;
    Polyline &next = r.scratch;
    for (int pass = 0; pass < level; ++pass) {
        const std::size_t n = r.points.size();
        next.resize(2 * n);
        for (std::size_t j = 0; j < n; ++j) {
            const Vec3 &p = r.points[j];
            const Vec3 a = mix(p, r.points[(j + n - 1) % n], u);
            const Vec3 b = mix(p, r.points[(j + 1) % n], u);
            r.deltaArea += signedArea(p, a, b);
            next[2 * j] = a;
            next[2 * j + 1] = b;
        }
        std::swap(r.points, next);
    }
}

void bspline(Result &r, const Polyline &control, int level, double u)
{
    r.points.assign(control.begin(), control.end());
    r.deltaArea = 0;
    Polyline &next = r.scratch;
    for (int pass = 0; pass < level; ++pass) {
        const std::size_t n = r.points.size();
        next.resize(2 * n);
        for (std::size_t j = 0; j < n; ++j) {
            const Vec3 &b = r.points[(j + n - 1) % n], &p = r.points[j], &a = r.points[(j + 1) % n];
            next[2 * j] = {b.x / 8 + p.x * 0.75 + a.x / 8, b.y / 8 + p.y * 0.75 + a.y / 8,
                           b.z / 8 + p.z * 0.75 + a.z / 8};
            next[2 * j + 1] = mix(p, a, u);
        }
        for (std::size_t j = 0; j < n; ++j)
            r.deltaArea += signedArea(next[2 * j], next[(2 * j + 2 * n - 1) % (2 * n)], next[2 * j + 1]);
        std::swap(r.points, next);
    }
}

void proposed(Result &r, const Polyline &control, int level, double u)
{
    r.points.assign(control.begin(), control.end());
    r.deltaArea = 0;
    Polyline &next = r.scratch;
    const double halfU = u * 0.5;
    for (int pass = 0; pass < level; ++pass) {
        const std::size_t n = r.points.size();
        next.resize(3 * n);
        for (std::size_t j = 0; j < n; ++j) {
            const Vec3 &p = r.points[j];
            const Vec3 a = mix(p, r.points[(j + n - 1) % n], 0.5);
            const Vec3 b = mix(p, r.points[(j + 1) % n], 0.5);
            next[3 * j] = mix(a, p, halfU);
            next[3 * j + 1] = {u * p.x + (1 - u) / 2 * (a.x + b.x), u * p.y + (1 - u) / 2 * (a.y + b.y),
                               u * p.z + (1 - u) / 2 * (a.z + b.z)};
            next[3 * j + 2] = mix(b, p, halfU);
        }
        std::swap(r.points, next);
    }
}

void bezier(Result &r, const Polyline &control, bool closed, double precision, double u)
{
    Polyline input = control;
    if (closed && !input.empty())
        input.push_back(input.front());
    const std::size_t n = input.size();
    Polyline &out = r.points;
    out.clear();
    if (n == 0)
        return;
    const double t = std::clamp(u, 0.01, 0.99);
    // Pending pieces as flat blocks of n points on one stack, right half
    // pushed first so the left half is emitted first.
    Polyline &stack = r.scratch;
    stack.assign(input.begin(), input.end());
    Polyline row(n), left(n), right(n);
    while (!stack.empty()) {
        const Vec3 *piece = stack.data() + stack.size() - n;
        double longest = 0;
        for (std::size_t i = 0; i + 1 < n; ++i)
            longest = std::max(longest, length(piece[i], piece[i + 1]));
        if (longest <= precision) {
            out.insert(out.end(), piece, piece + n - 1);
            stack.resize(stack.size() - n);
            continue;
        }
        std::copy(piece, piece + n, row.begin());
        stack.resize(stack.size() - n);
        for (std::size_t k = 0; k < n; ++k) {
            left[k] = row[0];
            right[n - 1 - k] = row[n - 1 - k];
            for (std::size_t i = 0; i + 1 < n - k; ++i)
                row[i] = mix(row[i], row[i + 1], t);
        }
        stack.insert(stack.end(), right.begin(), right.end());
        stack.insert(stack.end(), left.begin(), left.end());
    }
    out.push_back(input.back());
}

} // namespace reference
