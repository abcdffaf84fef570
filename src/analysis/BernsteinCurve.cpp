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

Vector BernsteinCurve::bernsteinSum(std::span<const Vector> c, double t)
{
    // Horner's rule on the Bernstein form:
    //   C(t) = (...((c0 s + C(m,1) t c1) s + C(m,2) t^2 c2) s + ...) + t^m cm
    // with s = 1 - t: every term ends up as C(m,i) t^i s^(m-i) ci. The
    // factor C(m,i) t^i is carried along (at most (1 + t)^m, far from
    // overflow for a few hundred points) and the powers of s are applied
    // one multiplication at a time, so nothing cancels.
    if (c.empty())
        return {};
    const std::size_t m = c.size() - 1;
    if (m == 0)
        return c[0];
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
