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
