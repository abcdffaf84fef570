#include "analysis/BernsteinCurve.h"

#include <algorithm>
#include <cmath>

BernsteinCurve::BernsteinCurve(std::span<const Vector> polygon, bool closed) : closed_(closed)
{
    for (const Vector &p : polygon)
        points.emplace_back(p.x(), p.y());
    if (points.empty())
        points.emplace_back(0.0, 0.0);
    else if (closed)
        points.push_back(points.front());
    // The derivative of a degree-m Bezier curve is the degree m - 1 curve
    // of the scaled differences (its hodograph); the second likewise.
    const double m = double(points.size() - 1);
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        firstDifferences.push_back((points[i + 1] + points[i] * -1.0) * m);
    for (std::size_t i = 0; i + 1 < firstDifferences.size(); ++i)
        secondDifferences.push_back((firstDifferences[i + 1] + firstDifferences[i] * -1.0) * (m - 1.0));
}

namespace {

// The sum of C(m, i) t^i s^(m - i) c_i for 0 < t < 1, s = 1 - t. The
// weights rise to their largest at i = floor((m + 1) t) and fall on either
// side: w(i + 1) / w(i) = (m - i) t / ((i + 1) s). Taken relative to the
// largest, every weight is at most 1; the sum of all of them is 1 in exact
// arithmetic, so dividing by the computed sum removes the common scale.
Vector weightedFromThePeak(std::span<const Vector> c, double t)
{
    const std::size_t m = c.size() - 1;
    const double s = 1.0 - t;
    const double up = t / s, down = s / t;
    const auto peak = std::min(m, static_cast<std::size_t>(double(m + 1) * t));
    constexpr double negligible = 1e-20;
    Vector sum = c[peak];
    double total = 1.0;
    double w = 1.0;
    for (std::size_t i = peak; i < m; ++i) {
        w *= double(m - i) / double(i + 1) * up;
        if (w < negligible)
            break;
        sum = sum + c[i + 1] * w;
        total += w;
    }
    w = 1.0;
    for (std::size_t i = peak; i > 0; --i) {
        w *= double(i) / double(m - i + 1) * down;
        if (w < negligible)
            break;
        sum = sum + c[i - 1] * w;
        total += w;
    }
    return sum / total;
}

} // namespace

Vector BernsteinCurve::bernsteinSum(std::span<const Vector> c, double t)
{
    if (c.empty())
        return {};
    if (c.size() == 1 || t == 0.0)
        return c.front();
    if (t == 1.0)
        return c.back();
    if (t > 0.0 && t < 1.0)
        return weightedFromThePeak(c, t);
    // Extrapolation: Horner's rule on the Bernstein form:
    //   C(t) = (...((c0 s + C(m,1) t c1) s + C(m,2) t^2 c2) s + ...) + t^m cm
    // with s = 1 - t: every term ends up as C(m,i) t^i s^(m-i) ci, the
    // factor C(m,i) t^i carried along.
    const std::size_t m = c.size() - 1;
    const double s = 1.0 - t;
    double power = 1.0;    // t^i
    double binomial = 1.0; // C(m, i)
    Vector sum = c[0] * s;
    for (std::size_t i = 1; i < m; ++i) {
        power *= t;
        binomial = binomial * double(m - i + 1) / double(i);
        sum = (sum + c[i] * (power * binomial)) * s;
    }
    return sum + c[m] * (power * t);
}

Vector BernsteinCurve::at(double t) const
{
    return bernsteinSum(points, t);
}

LimitCurve::Jet BernsteinCurve::jet(double t) const
{
    return {bernsteinSum(points, t), bernsteinSum(firstDifferences, t), bernsteinSum(secondDifferences, t)};
}

double BernsteinCurve::curvatureBound(std::size_t) const
{
    // C'' is a Bezier curve with control points secondDifferences, so it
    // stays inside their convex hull.
    double bound = 0.0;
    for (const Vector &d : secondDifferences)
        bound = std::max(bound, std::hypot(d.x(), d.y()));
    return bound;
}
