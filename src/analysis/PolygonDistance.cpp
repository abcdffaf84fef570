#include "analysis/PolygonDistance.h"

#include <algorithm>
#include <array>
#include <cmath>

PolygonDistance::PolygonDistance(std::span<const Vector> polygon, bool closed)
{
    vertices.reserve(polygon.size());
    for (const Vector &p : polygon)
        vertices.emplace_back(p.x(), p.y());
    const std::size_t n = vertices.size();
    segments = n <= 1 ? n : (closed ? n : n - 1);
    tree.build(segments, [this, n](std::size_t i) {
        const Vector &a = vertices[i];
        const Vector &b = vertices[(i + 1) % n];
        return BoxTree::Box{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
                            std::max(a.y(), b.y())};
    });
}

namespace {

// The square of segmentDistance: no root, and a division only when the
// foot of p falls inside the segment.
double squaredToSegment(const Vector &p, const Vector &a, const Vector &b)
{
    // Project p on the line through a and b, clamped to the segment.
    const double ex = b.x() - a.x();
    const double ey = b.y() - a.y();
    const double px = p.x() - a.x();
    const double py = p.y() - a.y();
    const double along = px * ex + py * ey;
    const double length2 = ex * ex + ey * ey;
    if (along <= 0.0 || !(length2 > 0.0))
        return px * px + py * py;
    if (along >= length2) {
        const double qx = p.x() - b.x(), qy = p.y() - b.y();
        return qx * qx + qy * qy;
    }
    const double s = along / length2;
    const double dx = px - s * ex;
    const double dy = py - s * ey;
    return dx * dx + dy * dy;
}

} // namespace

double PolygonDistance::segmentDistance(const Vector &p, const Vector &a, const Vector &b)
{
    return std::sqrt(squaredToSegment(p, a, b));
}

double PolygonDistance::distance(const Vector &p, std::size_t &hint) const
{
    const std::size_t n = vertices.size();
    const BoxTree::Nearest found = tree.nearest(p, hint, [this, &p, n](std::size_t i, double bound) {
        ++evaluations;
        const double squared = squaredToSegment(p, vertices[i], vertices[(i + 1) % n]);
        return squared >= bound * bound ? bound : std::sqrt(squared);
    });
    hint = found.item;
    return found.distance;
}

Farthest PolygonDistance::largest(std::span<const Vector> points) const
{
    Farthest farthest;
    std::size_t hint = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double d = distance(points[i], hint);
        if (d > farthest.distance)
            farthest = {d, i};
    }
    return farthest;
}

double PolygonDistance::toSegment(const Vector &p, std::size_t i) const
{
    ++evaluations;
    return segmentDistance(p, vertices[i], vertices[(i + 1) % vertices.size()]);
}

std::optional<Farthest> PolygonDistance::largestAlong(std::span<const Vector> points, bool closed,
                                                      std::uint64_t budget) const
{
    const std::uint64_t until = budget > std::numeric_limits<std::uint64_t>::max() - evaluations
                                    ? std::numeric_limits<std::uint64_t>::max()
                                    : evaluations + budget;
    const std::size_t n = points.size();
    std::vector<double> d(n);
    std::vector<std::size_t> nearest(n);
    Farthest farthest;
    std::size_t hint = 0;
    for (std::size_t i = 0; i < n; ++i) {
        d[i] = distance(points[i], hint);
        nearest[i] = hint;
        if (evaluations > until)
            return std::nullopt;
        if (d[i] > farthest.distance)
            farthest = {d[i], i};
    }
    if (segments == 0)
        return farthest;
    const std::size_t edges = n < 2 ? 0 : (closed ? n : n - 1);
    for (std::size_t i = 0; i < edges; ++i) {
        const std::size_t j = (i + 1) % n;
        double best = farthest.distance;
        searchEdge(points[i], points[j], d[i], nearest[i], d[j], nearest[j], best, until);
        if (evaluations > until)
            return std::nullopt;
        if (best > farthest.distance)
            farthest = {best, i};
    }
    return farthest;
}

void PolygonDistance::searchEdge(const Vector &a, const Vector &b, double da, std::size_t ka, double db,
                                 std::size_t kb, double &best, std::uint64_t until) const
{
    // On a stretch whose ends have the same nearest segment k, the distance
    // to the polygon is at most the distance to k, convex along a line, so
    // at most its larger end: nothing to search. With two segments, it is
    // at most min(distance to one, to the other), whose largest value
    // (pairMaximum) is exact; when the whole polygon is no nearer there,
    // that is the stretch's largest, else the stretch is cut there, with
    // the segment found as the new end's.
    struct Stretch
    {
        Vector from, to;
        std::size_t kFrom, kTo; // the nearest segment at each end
        int depth;
    };
    best = std::max({best, da, db});
    if (ka == kb)
        return;
    // Depth first: at most one waiting stretch per level of depth.
    constexpr int deepest = 60;
    std::array<Stretch, deepest + 2> stack;
    std::size_t size = 0;
    stack[size++] = {a, b, ka, kb, 0};
    while (size > 0 && evaluations <= until) {
        const Stretch s = stack[--size];
        if (s.kFrom == s.kTo || s.depth >= deepest)
            continue;
        const PairMaximum pair = pairMaximum(s.from, s.to, s.kFrom, s.kTo);
        if (pair.distance <= best * (1.0 + 1e-12))
            continue;
        const Vector at = s.from + (s.to + s.from * -1.0) * pair.t;
        std::size_t k = s.kFrom;
        const double d = distance(at, k);
        best = std::max(best, d);
        if (d >= pair.distance * (1.0 - 1e-12))
            continue;
        stack[size++] = {s.from, at, s.kFrom, k, s.depth + 1};
        stack[size++] = {at, s.to, k, s.kTo, s.depth + 1};
    }
}

PolygonDistance::PairMaximum PolygonDistance::pairMaximum(const Vector &from, const Vector &to, std::size_t i,
                                                          std::size_t j) const
{
    // Along X(t) = from + t (to - from), t in [0, 1], the squared distance
    // to a segment AB is a quadratic in t on each of three pieces: before
    // A's normal (|X - A|^2), between the normals (distance to the line),
    // past B's normal (|X - B|^2). min(d_i, d_j) is at its largest at an
    // end or where d_i = d_j: on every interval where both are one
    // quadratic, the roots of their difference. Breakpoints count as
    // candidates too (where the two agree on a whole piece).
    const Vector direction = to + from * -1.0;
    // At most 2 ends, 4 breakpoints and 2 roots on each of 5 intervals.
    std::array<double, 16> candidates{0.0, 1.0};
    std::size_t count = 2;
    struct Piece
    {
        double c2, c1, c0;
    };
    struct Pieces
    {
        double cut0 = -INFINITY, cut1 = INFINITY; // t where the foot passes A, then B (or the reverse)
        Piece before, inside, after;
        Piece at(double t) const { return t < cut0 ? before : t > cut1 ? after : inside; }
    };
    const auto piecesOf = [&](std::size_t k) {
        const Vector &A = vertices[k], &B = vertices[(k + 1) % vertices.size()];
        const auto dot = [](const Vector &u, const Vector &v) { return u.x() * v.x() + u.y() * v.y(); };
        const auto squaredTo = [&](const Vector &E) {
            const Vector w = from + E * -1.0;
            return Piece{dot(direction, direction), 2.0 * dot(direction, w), dot(w, w)};
        };
        Pieces p;
        const Vector e = B + A * -1.0;
        const double length2 = dot(e, e);
        p.before = p.after = p.inside = squaredTo(A);
        if (!(length2 > 0.0))
            return p;
        const Vector w = from + A * -1.0;
        const double we = dot(w, e), de = dot(direction, e);
        p.inside = {dot(direction, direction) - de * de / length2, 2.0 * (dot(direction, w) - we * de / length2),
                    dot(w, w) - we * we / length2};
        if (de != 0.0) {
            // The foot's parameter on AB, (w . e + t d . e) / |e|^2, is 0
            // and 1 at these t.
            const double t0 = -we / de, t1 = (length2 - we) / de;
            p.cut0 = std::min(t0, t1);
            p.cut1 = std::max(t0, t1);
            p.before = squaredTo(t0 < t1 ? A : B);
            p.after = squaredTo(t0 < t1 ? B : A);
        } else if (we <= 0.0 || we >= length2) {
            p.inside = squaredTo(we <= 0.0 ? A : B);
        }
        return p;
    };
    const Pieces first = piecesOf(i), second = piecesOf(j);
    std::array<double, 6> cuts{0.0, 1.0};
    std::size_t cutCount = 2;
    for (const double c : {first.cut0, first.cut1, second.cut0, second.cut1})
        if (c > 0.0 && c < 1.0)
            cuts[cutCount++] = c;
    // At most six: insertion sort (std::sort here trips a false array-bounds
    // warning of GCC 12).
    for (std::size_t k = 1; k < cutCount; ++k)
        for (std::size_t m = k; m > 0 && cuts[m] < cuts[m - 1]; --m)
            std::swap(cuts[m], cuts[m - 1]);
    for (std::size_t k = 0; k + 1 < cutCount; ++k) {
        candidates[count++] = cuts[k + 1];
        const double middle = 0.5 * (cuts[k] + cuts[k + 1]);
        const Piece p = first.at(middle), q = second.at(middle);
        const double c2 = p.c2 - q.c2, c1 = p.c1 - q.c1, c0 = p.c0 - q.c0;
        const double scale = std::abs(p.c2) + std::abs(p.c1) + std::abs(p.c0) + std::abs(q.c2) + std::abs(q.c1) +
                             std::abs(q.c0);
        double roots[2] = {-1.0, -1.0};
        if (std::abs(c2) > 1e-14 * scale) {
            const double discriminant = c1 * c1 - 4.0 * c2 * c0;
            if (discriminant >= 0.0) {
                // The root of larger size without cancellation, the other
                // from the product of the roots.
                const double big = -0.5 * (c1 + std::copysign(std::sqrt(discriminant), c1));
                roots[0] = big / c2;
                if (big != 0.0)
                    roots[1] = c0 / big;
            }
        } else if (std::abs(c1) > 1e-14 * scale) {
            roots[0] = -c0 / c1;
        }
        for (const double t : roots)
            if (t > cuts[k] && t < cuts[k + 1])
                candidates[count++] = t;
    }
    PairMaximum most{-1.0, 0.0};
    for (std::size_t c = 0; c < count; ++c) {
        const double t = candidates[c];
        const Vector x = from + direction * t;
        const double d = std::min(toSegment(x, i), toSegment(x, j));
        if (d > most.distance)
            most = {d, t};
    }
    return most;
}
