#include "analysis/PolygonDistance.h"

#include <algorithm>
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

double PolygonDistance::segmentDistance(const Vector &p, const Vector &a, const Vector &b)
{
    // Project p on the line through a and b, clamped to the segment.
    const double ex = b.x() - a.x();
    const double ey = b.y() - a.y();
    const double px = p.x() - a.x();
    const double py = p.y() - a.y();
    const double length2 = ex * ex + ey * ey;
    double s = length2 > 0.0 ? (px * ex + py * ey) / length2 : 0.0;
    s = std::clamp(s, 0.0, 1.0);
    const double dx = px - s * ex;
    const double dy = py - s * ey;
    return std::sqrt(dx * dx + dy * dy);
}

double PolygonDistance::distance(const Vector &p, std::size_t &hint) const
{
    const std::size_t n = vertices.size();
    const BoxTree::Nearest found = tree.nearest(p, hint, [this, &p, n](std::size_t i, double) {
        return segmentDistance(p, vertices[i], vertices[(i + 1) % n]);
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
    return segmentDistance(p, vertices[i], vertices[(i + 1) % vertices.size()]);
}

Farthest PolygonDistance::largestAlong(std::span<const Vector> points, bool closed) const
{
    const std::size_t n = points.size();
    std::vector<double> d(n);
    std::vector<std::size_t> nearest(n);
    Farthest farthest;
    std::size_t hint = 0;
    for (std::size_t i = 0; i < n; ++i) {
        d[i] = distance(points[i], hint);
        nearest[i] = hint;
        if (d[i] > farthest.distance)
            farthest = {d[i], i};
    }
    if (segments == 0)
        return farthest;
    const std::size_t edges = n < 2 ? 0 : (closed ? n : n - 1);
    for (std::size_t i = 0; i < edges; ++i) {
        const std::size_t j = (i + 1) % n;
        double best = farthest.distance;
        searchEdge(points[i], points[j], d[i], nearest[i], d[j], nearest[j], best);
        if (best > farthest.distance)
            farthest = {best, i};
    }
    return farthest;
}

void PolygonDistance::searchEdge(const Vector &a, const Vector &b, double da, std::size_t ka, double db,
                                 std::size_t kb, double &best) const
{
    // Along a line the distance to one segment is convex, so on a stretch
    // it is largest at an end; the distance to the polygon, the least of
    // those, is at most the larger end value for either end's nearest
    // segment. Stretches whose bound cannot beat best are dropped, the
    // others halved. Where both ends have the same nearest segment the
    // bound is the larger end itself, and nothing is halved.
    struct Stretch
    {
        Vector from, to;
        double dFrom, dTo;
        std::size_t kFrom, kTo;
        int depth;
    };
    std::vector<Stretch> stack{{a, b, da, db, ka, kb, 0}};
    while (!stack.empty()) {
        const Stretch s = stack.back();
        stack.pop_back();
        const double ends = std::max(s.dFrom, s.dTo);
        best = std::max(best, ends);
        double bound = std::max(toSegment(s.from, s.kFrom), toSegment(s.to, s.kFrom));
        if (s.kTo != s.kFrom)
            bound = std::min(bound, std::max(toSegment(s.from, s.kTo), toSegment(s.to, s.kTo)));
        if (bound <= best * (1.0 + 1e-12) || s.depth >= 60)
            continue;
        const Vector middle = (s.from + s.to) * 0.5;
        std::size_t k = s.kFrom;
        const double dm = distance(middle, k);
        stack.push_back({s.from, middle, s.dFrom, dm, s.kFrom, k, s.depth + 1});
        stack.push_back({middle, s.to, dm, s.dTo, k, s.kTo, s.depth + 1});
    }
}

