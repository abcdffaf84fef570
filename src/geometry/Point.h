#pragma once

#include "geometry/Vector.h"

// Signed area of the triangle (t, a, b), ignoring z: positive when the three
// run counter-clockwise (x right, y up), 0 when degenerate. Inline, and the
// one formula every area in the program uses, so that sums of the same
// triangles in the same order are bit-identical wherever they are taken.
inline double signedArea(const Vector &t, const Vector &a, const Vector &b)
{
    // Expanded form of 1/2 * ((a - t) x (b - t)), summed left to right.
    return (a.y() * t.x() - t.x() * b.y() - a.x() * t.y() + t.y() * b.x() + a.x() * b.y() - a.y() * b.x()) * 0.5;
}

// One point of a control polygon or of a generated curve, with the
// bookkeeping the editor and the schemes need. Copies are independent.
class Point
{
public:
    Point() = default;
    // A point at v; every flag false, ghost (0, 0, 0), level 0.
    explicit Point(const Vector &v) : position(v) {}

    // Signed area of the triangle (this, a, b), ignoring z: positive when
    // the three run counter-clockwise (x right, y up), 0 when degenerate.
    double signedArea(const Point &a, const Point &b) const
    {
        return ::signedArea(position, a.position, b.position);
    }

    // The two vectors first and the small members together after them:
    // 56 bytes, where flags between the vectors would pad it to 64 (and a
    // curve at the point budget holds millions of points).
    Vector position;
    Vector ghost;                 // where the point stood when the current drag began
    int level = 0;                // split depth of a generated Bezier point; 0 otherwise
    bool selected = false;        // chosen by the last selection (control points only)
    bool hasGhost = false;        // ghost is meaningful: the point is dragged or derived from one that is
    bool edgeHighlighted = false; // the edge starting here is highlighted (control points only)
    bool highlighted = false;     // under the pointer (control points only)
};

// A new point at t * a + (1 - t) * b. When a or b has a ghost the result
// gets one too, combined from the inputs' ghosts (an input without a ghost
// contributes its position). Flags and level of the inputs do not carry
// over. The caller owns the returned point.
Point *combine(const Point &a, const Point &b, double t);

// The same combination written into an existing point, which is reset
// first; lets callers that manage their own storage avoid an allocation.
void combineInto(Point &out, const Point &a, const Point &b, double t);
