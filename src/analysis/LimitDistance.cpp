#include "analysis/LimitDistance.h"

#include "analysis/PolygonDistance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double dot(const Vector &a, const Vector &b)
{
    return a.x() * b.x() + a.y() * b.y();
}

double length(const Vector &v)
{
    return std::sqrt(v.x() * v.x() + v.y() * v.y());
}

Vector minus(const Vector &a, const Vector &b)
{
    return {a.x() - b.x(), a.y() - b.y()};
}

double extentOf(const std::vector<Vector> &points)
{
    BoxTree::Box box;
    for (const Vector &p : points)
        box.add({p.x(), p.y(), p.x(), p.y()});
    return std::hypot(box.maxX - box.minX, box.maxY - box.minY);
}

} // namespace

LimitDistance::LimitDistance(const LimitCurve &curve, double tolerance) : curve(curve)
{
    const double extent = extentOf(curve.sample(8 * curve.spanCount() + 1));
    if (!(tolerance > 0.0))
        tolerance = extent > 0.0 ? 1e-4 * extent : 1e-12;
    LimitCurve::Sampling sampling = curve.sample(tolerance);
    parameters = std::move(sampling.parameters);
    points = std::move(sampling.points);
    tangents.reserve(parameters.size());
    for (double t : parameters)
        tangents.push_back(curve.jet(t).first);
    // The chord bound holds in exact arithmetic; the margin covers the
    // rounding of positions of this extent.
    slack = sampling.tolerance * (1.0 + 1e-9) + 1e-13 * extent;
    tree.build(points.size() - 1, [this](std::size_t i) {
        const Vector &a = points[i];
        const Vector &b = points[i + 1];
        return BoxTree::Box{std::min(a.x(), b.x()) - slack, std::min(a.y(), b.y()) - slack,
                            std::max(a.x(), b.x()) + slack, std::max(a.y(), b.y()) + slack};
    });
}

LimitDistance::Projection LimitDistance::onArc(const Vector &p, std::size_t i) const
{
    // f(t) = |C(t) - p|^2 / 2 has f'(t) = C' . (C - p) and
    // f''(t) = |C'|^2 + C'' . (C - p). A sign change of f' from - to +
    // between the arc's ends brackets a minimum; Newton steps on f' that
    // would leave the bracket are replaced by bisection, and every
    // evaluated point keeps the bracket tight. Without a sign change the
    // nearer end is the arc's nearest point (for the short arcs of a
    // sampling f is convex on the arc unless p lies beyond the centre of
    // curvature, where f hardly varies along it).
    double lo = parameters[i];
    double hi = parameters[i + 1];
    const Vector ra = minus(points[i], p);
    const Vector rb = minus(points[i + 1], p);
    const double da = length(ra);
    const double db = length(rb);
    Projection best = da <= db ? Projection{da, lo} : Projection{db, hi};
    if (!(dot(tangents[i], ra) < 0.0 && dot(tangents[i + 1], rb) > 0.0))
        return best;
    // Start from the foot of p on the chord.
    const Vector chord = minus(points[i + 1], points[i]);
    const double length2 = dot(chord, chord);
    const double s = length2 > 0.0 ? std::clamp(dot(minus(p, points[i]), chord) / length2, 0.0, 1.0) : 0.5;
    double t = lo + s * (hi - lo);
    for (int step = 0; step < 60; ++step) {
        const LimitCurve::Jet jet = curve.jet(t);
        const Vector r = minus(jet.point, p);
        const double d = length(r);
        if (d < best.distance)
            best = {d, t};
        const double slope = dot(jet.first, r);
        if (slope == 0.0)
            break;
        (slope < 0.0 ? lo : hi) = t;
        const double bend = dot(jet.first, jet.first) + dot(jet.second, r);
        double next = bend > 0.0 ? t - slope / bend : lo - 1.0;
        // Converged once a Newton step no longer moves t beyond a few ulps
        // (such a step may land on a bracket end, which is t itself).
        if (std::abs(next - t) <= 8.0 * std::numeric_limits<double>::epsilon() * std::max(1.0, std::abs(t)))
            break;
        if (!(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        t = next;
    }
    return best;
}

LimitDistance::Projection LimitDistance::project(const Vector &p, std::size_t &hint) const
{
    Projection found{std::numeric_limits<double>::infinity(), parameters.front()};
    const BoxTree::Nearest nearest = tree.nearest(p, hint, [&](std::size_t i, double bound) {
        const double lower = PolygonDistance::segmentDistance(p, points[i], points[i + 1]) - slack;
        if (lower >= bound)
            return lower;
        const Projection on = onArc(p, i);
        if (on.distance < found.distance)
            found = on;
        return on.distance;
    });
    hint = nearest.item;
    return found;
}

Farthest LimitDistance::largest(std::span<const Vector> points) const
{
    Farthest farthest;
    std::size_t hint = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double d = project(points[i], hint).distance;
        if (d > farthest.distance)
            farthest = {d, i};
    }
    return farthest;
}
