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
    // Every arc lies inside one span: its middle tells which.
    const std::size_t spans = curve.spanCount();
    const double width = curve.spanWidth();
    for (std::size_t i = 0; i + 1 < parameters.size(); ++i) {
        const double middle = 0.5 * (parameters[i] + parameters[i + 1]) - curve.parameterStart();
        const double span = width > 0.0 ? std::floor(middle / width) : 0.0;
        bends.push_back(curve.curvatureBound(std::size_t(std::clamp(span, 0.0, double(spans - 1)))));
    }
    // The chord bound holds in exact arithmetic; the margin covers the
    // rounding of positions of this extent.
    margin = 1e-13 * extent;
    slack = sampling.tolerance * (1.0 + 1e-9) + margin;
    tree.build(points.size() - 1, [this](std::size_t i) {
        const Vector &a = points[i];
        const Vector &b = points[i + 1];
        return BoxTree::Box{std::min(a.x(), b.x()) - slack, std::min(a.y(), b.y()) - slack,
                            std::max(a.x(), b.x()) + slack, std::max(a.y(), b.y()) + slack};
    });
}

LimitDistance::Projection LimitDistance::onArc(const Vector &p, std::size_t i, double bound) const
{
    const Piece arc{parameters[i], parameters[i + 1], {points[i], tangents[i], {}}, {points[i + 1], tangents[i + 1], {}},
                    bends[i]};
    Projection best{bound, parameters[i]};
    searchPiece(p, arc, 0, best);
    return best;
}

void LimitDistance::searchPiece(const Vector &p, const Piece &piece, int depth, Projection &best) const
{
    // f(t) = |C(t) - p|^2 / 2, f'(t) = C' . (C - p),
    // f''(t) = |C'|^2 + C'' . (C - p) >= |C'|^2 - B |C - p|, where B bounds
    // |C''| on the piece. Over a piece of width h the curve stays within
    // B h^2 / 8 of its chord and |C'| within B h of its value at either end.
    const double h = piece.to - piece.from;
    const double sag = piece.bend * h * h / 8.0 * (1.0 + 1e-9) + margin;
    if (PolygonDistance::segmentDistance(p, piece.start.point, piece.end.point) - sag >= best.distance)
        return;
    const Vector ra = minus(piece.start.point, p);
    const Vector rb = minus(piece.end.point, p);
    const double da = length(ra), db = length(rb);
    if (da < best.distance)
        best = {da, piece.from};
    if (db < best.distance)
        best = {db, piece.to};
    const double speed = std::max(length(piece.start.first), length(piece.end.first)) - piece.bend * h;
    const double reach = std::max(da, db) + sag;
    if (speed > 0.0 && speed * speed > piece.bend * reach) {
        // Convex: one minimum, at an end unless f' goes from - to +.
        if (dot(piece.start.first, ra) < 0.0 && dot(piece.end.first, rb) > 0.0)
            best = newton(p, piece, best);
        return;
    }
    // Not provably convex: halve, nearer half first. A piece whose sag is
    // down to rounding cannot hide anything nearer than its ends.
    if (sag <= 2.0 * margin || depth >= 60)
        return;
    const double middle = 0.5 * (piece.from + piece.to);
    const LimitCurve::Jet centre = curve.jet(middle);
    const Piece left{piece.from, middle, piece.start, centre, piece.bend};
    const Piece right{middle, piece.to, centre, piece.end, piece.bend};
    const bool leftFirst = da <= db;
    searchPiece(p, leftFirst ? left : right, depth + 1, best);
    searchPiece(p, leftFirst ? right : left, depth + 1, best);
}

LimitDistance::Projection LimitDistance::newton(const Vector &p, const Piece &piece, Projection best) const
{
    // f' changes sign from - to + between the ends: Newton steps on f'
    // that would leave the bracket are replaced by bisection, and every
    // evaluated point keeps the bracket tight. Start from the foot of p
    // on the chord.
    double lo = piece.from;
    double hi = piece.to;
    const Vector chord = minus(piece.end.point, piece.start.point);
    const double length2 = dot(chord, chord);
    const double s = length2 > 0.0 ? std::clamp(dot(minus(p, piece.start.point), chord) / length2, 0.0, 1.0) : 0.5;
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
        const Projection on = onArc(p, i, std::min(bound, found.distance));
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
