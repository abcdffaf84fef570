#include "geometry/Point.h"

void combineInto(Point &out, const Point &a, const Point &b, double t)
{
    // Everything is read before out is written, so out may alias a or b.
    const double s = 1.0 - t;
    const bool ghosted = a.hasGhost || b.hasGhost;
    Vector ghost;
    if (ghosted) {
        const Vector &ga = a.hasGhost ? a.ghost : a.position;
        const Vector &gb = b.hasGhost ? b.ghost : b.position;
        ghost = ga * t + gb * s;
    }
    out = Point(a.position * t + b.position * s);
    out.ghost = ghost;
    out.hasGhost = ghosted;
}

Point *combine(const Point &a, const Point &b, double t)
{
    auto *point = new Point;
    combineInto(*point, a, b, t);
    return point;
}
