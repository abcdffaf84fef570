#pragma once

#include "geometry/Vector.h"

#include <span>
#include <vector>

// The discrete curvature along a polyline, ready for a curvature comb.
// At each point it is the signed Menger curvature: the reciprocal radius of
// the circle through the point and its two neighbours, positive where the
// polyline turns left (counter-clockwise, x right, y up), negative where it
// turns right, 0 on a straight run. The normal is the unit left normal of
// the chord from the previous to the next neighbour, so curvature * normal
// points to the inside of the turn and a comb tooth is p + scale *
// curvature * normal (or minus, to draw it outside).
//
// Neighbours are the nearest points with another position, so repeated
// points (Chaikin at u = 0.5 doubles every point) get the value of the
// place they sit at. A closed polyline wraps around; the two ends of an
// open one take the curvature of their inner neighbour (the circle through
// the first, or last, three distinct points) and the left normal of their
// end edge. A point whose two neighbours coincide (a spike turning back)
// has curvature 0 and the left normal of its incoming edge. With fewer
// than 3 distinct points every curvature is 0; the normal is the left
// normal of the line through the two positions, or (0, 0) for one.
// O(N) time for N points; z is ignored.
class DiscreteCurvature
{
public:
    struct Sample
    {
        double curvature = 0.0; // 1 / world units
        Vector normal;          // unit length (or zero, see above), z = 0
    };

    // One sample per point, in the same order.
    static std::vector<Sample> along(std::span<const Vector> points, bool closed);
};
