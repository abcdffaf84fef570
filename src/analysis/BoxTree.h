#pragma once

#include "geometry/Vector.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

// A bounding-box hierarchy over a chain of items (the segments of a
// polyline, the arcs of a sampled curve) in chain order: items are grouped
// in buckets of bucketSize consecutive ones, and a complete binary tree over
// the buckets keeps each node's box. Chain order makes the boxes tight,
// because consecutive items lie side by side. Memory: 4 doubles per node,
// about items / 4 nodes.
//
// nearest() finds the item closest to a point, starting from a hint item
// (the answer for the previous point along a chain of queries): the hint's
// bucket gives a first bound, then the walk up to the root opens only the
// sibling subtrees whose box is nearer than the best found. For queries
// that move along the chain this costs O(log items) box tests and a handful
// of exact item distances; it stays exact for any query.
class BoxTree
{
public:
    static constexpr std::size_t bucketSize = 8;

    struct Box
    {
        double minX = std::numeric_limits<double>::infinity();
        double minY = std::numeric_limits<double>::infinity();
        double maxX = -std::numeric_limits<double>::infinity();
        double maxY = -std::numeric_limits<double>::infinity();

        void add(const Box &b)
        {
            minX = std::min(minX, b.minX);
            minY = std::min(minY, b.minY);
            maxX = std::max(maxX, b.maxX);
            maxY = std::max(maxY, b.maxY);
        }
        // Squared distance from p to the box; infinite for an empty box.
        double squaredDistance(const Vector &p) const
        {
            if (minX > maxX)
                return std::numeric_limits<double>::infinity();
            const double dx = std::max({minX - p.x(), 0.0, p.x() - maxX});
            const double dy = std::max({minY - p.y(), 0.0, p.y() - maxY});
            return dx * dx + dy * dy;
        }
    };

    // The answer of nearest(): the item and its distance (infinite, item
    // 0, when the tree is empty).
    struct Nearest
    {
        std::size_t item = 0;
        double distance = std::numeric_limits<double>::infinity();
    };

    // Builds the tree over count items; boxOf(i) gives item i's Box. O(count).
    template <typename BoxOf>
    void build(std::size_t count, BoxOf &&boxOf);

    std::size_t itemCount() const { return items; }

    // The item nearest to p. distanceTo(i, bound) returns item i's distance
    // to p, or any value >= bound when it can tell cheaply that the item is
    // no nearer than bound; it must never return less than the true
    // distance. hint is any item index (clamped).
    template <typename DistanceTo>
    Nearest nearest(const Vector &p, std::size_t hint, DistanceTo &&distanceTo) const;

private:
    template <typename DistanceTo>
    void scanBucket(std::size_t bucket, DistanceTo &distanceTo, Nearest &best) const;
    template <typename DistanceTo>
    void descend(std::size_t node, const Vector &p, DistanceTo &distanceTo, Nearest &best) const;

    std::vector<Box> nodes; // node 1 is the root, node k has children 2k, 2k + 1; leaves from `leaves` on
    std::size_t leaves = 0;
    std::size_t items = 0;
};

template <typename BoxOf>
void BoxTree::build(std::size_t count, BoxOf &&boxOf)
{
    items = count;
    const std::size_t buckets = (count + bucketSize - 1) / bucketSize;
    leaves = 1;
    while (leaves < buckets)
        leaves *= 2;
    nodes.assign(2 * leaves, Box{});
    for (std::size_t i = 0; i < count; ++i)
        nodes[leaves + i / bucketSize].add(boxOf(i));
    for (std::size_t k = leaves - 1; k >= 1; --k) {
        nodes[k] = nodes[2 * k];
        nodes[k].add(nodes[2 * k + 1]);
    }
}

template <typename DistanceTo>
void BoxTree::scanBucket(std::size_t bucket, DistanceTo &distanceTo, Nearest &best) const
{
    const std::size_t end = std::min(items, (bucket + 1) * bucketSize);
    for (std::size_t i = bucket * bucketSize; i < end; ++i) {
        const double d = distanceTo(i, best.distance);
        if (d < best.distance)
            best = {i, d};
    }
}

template <typename DistanceTo>
void BoxTree::descend(std::size_t node, const Vector &p, DistanceTo &distanceTo, Nearest &best) const
{
    // Depth first, nearer child first; a node is opened only while its box
    // is nearer than the best item so far.
    std::size_t stack[2 * 64];
    std::size_t top = 0;
    stack[top++] = node;
    while (top > 0) {
        const std::size_t k = stack[--top];
        const double bound = best.distance * best.distance;
        if (!(nodes[k].squaredDistance(p) < bound))
            continue;
        if (k >= leaves) {
            scanBucket(k - leaves, distanceTo, best);
            continue;
        }
        const bool leftFirst = nodes[2 * k].squaredDistance(p) <= nodes[2 * k + 1].squaredDistance(p);
        stack[top++] = leftFirst ? 2 * k + 1 : 2 * k;
        stack[top++] = leftFirst ? 2 * k : 2 * k + 1;
    }
}

template <typename DistanceTo>
BoxTree::Nearest BoxTree::nearest(const Vector &p, std::size_t hint, DistanceTo &&distanceTo) const
{
    Nearest best;
    if (items == 0)
        return best;
    const std::size_t bucket = std::min(hint, items - 1) / bucketSize;
    scanBucket(bucket, distanceTo, best);
    for (std::size_t k = leaves + bucket; k > 1; k /= 2)
        descend(k ^ 1, p, distanceTo, best);
    return best;
}
