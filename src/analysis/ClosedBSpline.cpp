#include "analysis/ClosedBSpline.h"

#include <algorithm>
#include <cmath>

namespace {

double lengthXY(const Vector &v)
{
    return std::hypot(v.x(), v.y());
}

} // namespace

ClosedBSpline::ClosedBSpline(std::span<const Vector> polygon, int degree)
    : control(polygon.begin(), polygon.end()), degree_(degree == 2 ? 2 : 3)
{
    for (Vector &p : control)
        p = Vector(p.x(), p.y());
    if (control.empty())
        control.emplace_back(0.0, 0.0);
}

double ClosedBSpline::parameterStart() const
{
    return degree_ == 2 ? -0.5 : 0.0;
}

double ClosedBSpline::parameterEnd() const
{
    return parameterStart() + double(control.size());
}

const Vector &ClosedBSpline::point(long i) const
{
    const long n = long(control.size());
    return control[std::size_t(((i % n) + n) % n)];
}

LimitCurve::Jet ClosedBSpline::jet(double t) const
{
    // Local coordinate s in [0, 1) on the span, whose first control point
    // has index j - 1 (degree 3: span [j, j + 1] uses Pj-1 .. Pj+2;
    // degree 2: span [j - 1/2, j + 1/2] uses Pj-1 .. Pj+1).
    const double shifted = degree_ == 2 ? t + 0.5 : t;
    const double whole = std::floor(shifted);
    const double s = shifted - whole;
    const long j = long(std::fmod(whole, double(control.size())));
    const double r = 1.0 - s;
    Jet out;
    if (degree_ == 3) {
        // Uniform cubic basis: (1-s)^3/6, (3s^3 - 6s^2 + 4)/6,
        // (-3s^3 + 3s^2 + 3s + 1)/6, s^3/6, and their derivatives in s.
        const double b[4] = {r * r * r / 6.0, (3 * s * s * s - 6 * s * s + 4) / 6.0,
                             (-3 * s * s * s + 3 * s * s + 3 * s + 1) / 6.0, s * s * s / 6.0};
        const double d[4] = {-r * r / 2.0, (3 * s * s - 4 * s) / 2.0, (-3 * s * s + 2 * s + 1) / 2.0, s * s / 2.0};
        const double dd[4] = {r, 3 * s - 2, -3 * s + 1, s};
        for (int k = 0; k < 4; ++k) {
            const Vector &p = point(j - 1 + k);
            out.point = out.point + p * b[k];
            out.first = out.first + p * d[k];
            out.second = out.second + p * dd[k];
        }
    } else {
        // Uniform quadratic basis: (1-s)^2/2, (-2s^2 + 2s + 1)/2, s^2/2.
        const double b[3] = {r * r / 2.0, (-2 * s * s + 2 * s + 1) / 2.0, s * s / 2.0};
        const double d[3] = {-r, 1 - 2 * s, s};
        const double dd[3] = {1, -2, 1};
        for (int k = 0; k < 3; ++k) {
            const Vector &p = point(j - 1 + k);
            out.point = out.point + p * b[k];
            out.first = out.first + p * d[k];
            out.second = out.second + p * dd[k];
        }
    }
    return out;
}

double ClosedBSpline::curvatureBound(std::size_t span) const
{
    // C'' is the second difference Pj-1 - 2 Pj + Pj+1 (degree 2, constant
    // on the span) or the linear blend of the two second differences at
    // Pj and Pj+1 (degree 3), so the largest of those bounds it.
    const long j = long(span);
    auto second = [this](long i) { return lengthXY(point(i - 1) + point(i) * -2.0 + point(i + 1)); };
    return degree_ == 2 ? second(j) : std::max(second(j), second(j + 1));
}
