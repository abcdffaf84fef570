#pragma once

#include "analysis/BoxTree.h"
#include "analysis/Farthest.h"
#include "geometry/Vector.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

// Distances from points to a fixed polygon (a closed loop or an open
// polyline; z ignored), exact up to rounding: the distance between two
// consecutive subdivision levels, point by point. Building costs O(M) time
// and about 50 bytes per vertex for M vertices (a copy and a BoxTree);
// each query O(log M) when successive queries move along the polygon, as
// the points of a level do.
class PolygonDistance
{
public:
    // Copies the polygon. A single point is a polygon of one degenerate
    // segment; an empty one is at infinite distance from everything.
    PolygonDistance(std::span<const Vector> polygon, bool closed);

    // Distance from p to the nearest segment. hint: a segment index near
    // the answer (the one returned for the previous point, any value
    // otherwise); updated to the segment found.
    double distance(const Vector &p, std::size_t &hint) const;
    // The largest distance from any of points to the polygon. O(N log M)
    // for N points that follow the polygon's order.
    Farthest largest(std::span<const Vector> points) const;
    // The largest distance from any point of the polyline through points
    // (closed: the last point joins the first), edges included, to the
    // polygon: one side of the Hausdorff distance between the two, exact
    // up to rounding. index is the vertex or the start of the edge where
    // it lies. Costs largest() and, for an edge whose ends are nearest to
    // different segments and which might hold more, a few queries more;
    // on tangled polygons (a scheme that diverges) a query may look at
    // many segments. Empty when that would take more than budget segment
    // distances (evaluated() counts them).
    std::optional<Farthest> largestAlong(std::span<const Vector> points, bool closed,
                                         std::uint64_t budget = std::numeric_limits<std::uint64_t>::max()) const;
    // Segment distances the queries have evaluated so far: their work.
    // (The count makes the queries unfit for two threads at once.)
    std::uint64_t evaluated() const { return evaluations; }

    // Distance from p to the segment from a to b (to a when a == b).
    static double segmentDistance(const Vector &p, const Vector &a, const Vector &b);

private:
    // Distance from p to segment i.
    double toSegment(const Vector &p, std::size_t i) const;
    // The largest of min(distance to segment i, to segment j) along the
    // stretch from `from` to `to`, and where: t in [0, 1].
    struct PairMaximum
    {
        double distance;
        double t;
    };
    PairMaximum pairMaximum(const Vector &from, const Vector &to, std::size_t i, std::size_t j) const;
    // The largest distance along the edge from a to b beyond best (then
    // raised), both ends measured (with their nearest segments).
    void searchEdge(const Vector &a, const Vector &b, double da, std::size_t ka, double db, std::size_t kb,
                    double &best, std::uint64_t until) const;

    mutable std::uint64_t evaluations = 0;
    std::vector<Vector> vertices;
    std::size_t segments = 0; // segment i runs from vertex i to vertex i + 1 (mod size)
    BoxTree tree;
};
