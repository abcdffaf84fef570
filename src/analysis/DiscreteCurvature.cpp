#include "analysis/DiscreteCurvature.h"

#include <cmath>
#include <cstddef>

namespace {

bool samePlace(const Vector &a, const Vector &b)
{
    return a.x() == b.x() && a.y() == b.y();
}

// The unit left normal of the direction from a to b, (0, 0) when they meet.
Vector leftNormal(const Vector &a, const Vector &b)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double length = std::sqrt(dx * dx + dy * dy);
    return length > 0.0 ? Vector(-dy / length, dx / length) : Vector();
}

// Signed curvature at b of the circle through a, b and c: four times the
// triangle's area over the product of its sides, with the sign of the
// turn a -> b -> c (the cross product of the two edges).
DiscreteCurvature::Sample menger(const Vector &a, const Vector &b, const Vector &c)
{
    const double ux = b.x() - a.x(), uy = b.y() - a.y();
    const double vx = c.x() - b.x(), vy = c.y() - b.y();
    const double wx = c.x() - a.x(), wy = c.y() - a.y();
    const double sides = std::sqrt((ux * ux + uy * uy) * (vx * vx + vy * vy) * (wx * wx + wy * wy));
    if (!(sides > 0.0))
        return {0.0, leftNormal(a, b)};
    return {2.0 * (ux * vy - uy * vx) / sides, leftNormal(a, c)};
}

} // namespace

std::vector<DiscreteCurvature::Sample> DiscreteCurvature::along(std::span<const Vector> points, bool closed)
{
    // Collapse runs of equal positions (around the seam too when closed)
    // to one place each, measure the places, then give every point its
    // place's sample.
    const std::size_t n = points.size();
    std::vector<Sample> out(n);
    if (n == 0)
        return out;
    std::vector<std::size_t> placeOf(n);
    std::vector<Vector> places;
    for (std::size_t i = 0; i < n; ++i) {
        if (places.empty() || !samePlace(points[i], places.back()))
            places.push_back(points[i]);
        placeOf[i] = places.size() - 1;
    }
    if (closed && places.size() > 1 && samePlace(places.back(), places.front())) {
        places.pop_back();
        for (std::size_t i = n; i-- > 0 && placeOf[i] == places.size();)
            placeOf[i] = 0;
    }
    const std::size_t m = places.size();
    std::vector<Sample> atPlace(m);
    if (m == 2) {
        atPlace[0].normal = atPlace[1].normal = leftNormal(places[0], places[1]);
    } else if (m >= 3) {
        for (std::size_t k = 0; k < m; ++k) {
            if (!closed && (k == 0 || k + 1 == m))
                continue;
            atPlace[k] = menger(places[(k + m - 1) % m], places[k], places[(k + 1) % m]);
        }
        if (!closed) {
            atPlace[0] = {atPlace[1].curvature, leftNormal(places[0], places[1])};
            atPlace[m - 1] = {atPlace[m - 2].curvature, leftNormal(places[m - 2], places[m - 1])};
        }
    }
    for (std::size_t i = 0; i < n; ++i)
        out[i] = atPlace[placeOf[i]];
    return out;
}
