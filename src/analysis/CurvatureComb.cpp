#include "analysis/CurvatureComb.h"

#include "analysis/DiscreteCurvature.h"

#include <algorithm>
#include <cmath>

namespace {

// Neighbours are looked for this many steps away at most: repeats come in
// pairs (Chaikin at u = 0.5) or in the short runs of a collapsed Bezier
// piece; a longer run counts as no neighbour, which keeps a degenerate
// curve of one repeated point linear to walk.
constexpr int neighbourSearch = 64;

bool samePlace(const Vector &a, const Vector &b)
{
    return a.x() == b.x() && a.y() == b.y();
}

// The nearest node before (forward false) or after node whose point stands
// elsewhere than at, wrapping round a closed list; null when none.
const Node<Point> *distinctNeighbour(const List<Point> &points, const Node<Point> *node, const Vector &at,
                                     bool forward, bool closed)
{
    const Node<Point> *n = node;
    for (int step = 0; step < neighbourSearch; ++step) {
        n = forward ? n->next : n->prev;
        if (!n && closed)
            n = forward ? points.head : points.tail;
        if (!n || n == node)
            return nullptr;
        if (!samePlace(n->item->position, at))
            return n;
    }
    return nullptr;
}

// The curvature sample at node, from the distinct places around it, with
// DiscreteCurvature's rules: an end of an open curve takes its inner
// neighbour's curvature and the normal of its end edge.
DiscreteCurvature::Sample sampleAt(const List<Point> &points, const Node<Point> *node, bool closed)
{
    const Vector &p = node->item->position;
    const Node<Point> *before = distinctNeighbour(points, node, p, false, closed);
    const Node<Point> *after = distinctNeighbour(points, node, p, true, closed);
    std::vector<Vector> places;
    std::size_t at = 0;
    if (before && after) {
        places = {before->item->position, p, after->item->position};
        at = 1;
    } else if (after) {
        const Node<Point> *further = distinctNeighbour(points, after, after->item->position, true, closed);
        places = {p, after->item->position};
        if (further)
            places.push_back(further->item->position);
    } else if (before) {
        const Node<Point> *further = distinctNeighbour(points, before, before->item->position, false, closed);
        if (further)
            places.push_back(further->item->position);
        places.push_back(before->item->position);
        places.push_back(p);
        at = places.size() - 1;
    } else {
        places = {p};
    }
    return DiscreteCurvature::along(places, false)[at];
}

} // namespace

CurvatureComb CurvatureComb::along(const List<Point> &points, bool closed, double scale, double longest,
                                   std::size_t maxTeeth, double spacing)
{
    CurvatureComb comb;
    comb.closed = closed;
    const std::size_t n = points.count;
    maxTeeth = std::max<std::size_t>(maxTeeth, 1);
    comb.stride = n <= maxTeeth ? 1 : (n + maxTeeth - 1) / maxTeeth;
    comb.teeth.reserve(std::min(n, maxTeeth));
    std::size_t index = 0;
    // How far the curve ran from the last tooth, along the chords between
    // the points a tooth may stand at.
    double run = 0.0;
    const Vector *previous = nullptr;
    for (const Node<Point> *node = points.head; node; node = node->next, ++index) {
        if (index % comb.stride != 0)
            continue;
        if (previous)
            run += distance(*previous, node->item->position);
        previous = &node->item->position;
        if (index > 0 && run < spacing)
            continue;
        run = 0.0;
        const DiscreteCurvature::Sample sample = sampleAt(points, node, closed);
        // curvature * normal points into the turn: the tooth goes the
        // other way, to the outside.
        const double length = std::clamp(scale * sample.curvature, -longest, longest);
        const Vector base(node->item->position.x(), node->item->position.y());
        comb.teeth.push_back({base, base + sample.normal * -length, sample.curvature});
    }
    return comb;
}
