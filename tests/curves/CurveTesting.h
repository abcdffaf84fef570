#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "curves/Curve.h"
#include "geometry/ControlPoints.h"

// Named polygons shared by the scheme tests.
namespace polygons {

inline std::vector<Vector> unitSquare()
{
    return {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
}

inline std::vector<Vector> triangle()
{
    return {{-2, -1}, {3, -1.5}, {0.5, 2.5}};
}

// Ten points alternating between radius 4 and 1.5: a concave polygon.
inline std::vector<Vector> star()
{
    std::vector<Vector> points;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? 4.0 : 1.5;
        const double angle = pi / 2 + i * pi / 5;
        points.emplace_back(radius * std::cos(angle), radius * std::sin(angle));
    }
    return points;
}

// An irregular convex pentagon.
inline std::vector<Vector> pentagon()
{
    return {{-3, -2}, {2.5, -3}, {4, 1}, {0.5, 3.5}, {-3.5, 1.5}};
}

inline std::vector<Vector> collinear()
{
    return {{-3, 0}, {-1, 0}, {2, 0}, {4, 0}};
}

} // namespace polygons

// A control polygon built from a point list.
struct Polygon
{
    Polygon(const std::vector<Vector> &points, bool closed)
    {
        for (const Vector &p : points)
            control.insertPoint(p);
        control.closed = closed;
    }
    ControlPoints control;
};

// Runs the scheme the way render() does, without drawing.
inline void refine(Curve &curve)
{
    curve.controlPoints->dirty = true;
    curve.rebuildResult();
    curve.subdivide();
}

inline std::vector<Vector> positionsOf(const List<Point> &points)
{
    std::vector<Vector> out;
    for (const Node<Point> *n = points.head; n; n = n->next)
        out.push_back(n->item->position);
    return out;
}

// Ghost where a point has one, else its position: what the ghost loop shows.
inline std::vector<Vector> ghostsOf(const List<Point> &points)
{
    std::vector<Vector> out;
    for (const Node<Point> *n = points.head; n; n = n->next)
        out.push_back(n->item->hasGhost ? n->item->ghost : n->item->position);
    return out;
}

inline double distanceXY(const Vector &a, const Vector &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// Area of a point sequence taken as a closed polygon by the shoelace
// formula, signed like ControlPoints::area(): positive clockwise.
inline double clockwiseArea(const std::vector<Vector> &points)
{
    double twice = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vector &a = points[i];
        const Vector &b = points[(i + 1) % points.size()];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return -0.5 * twice;
}

// Two point sequences agree in length and, point by point, within tolerance.
inline ::testing::AssertionResult pointsNear(const std::vector<Vector> &actual, const std::vector<Vector> &expected,
                                             double tolerance = 1e-12)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure()
               << "got " << actual.size() << " points, expected " << expected.size();
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (distance(actual[i], expected[i]) > tolerance) {
            std::ostringstream text;
            text << "point " << i << " is (" << actual[i].x() << ", " << actual[i].y() << "), expected ("
                 << expected[i].x() << ", " << expected[i].y() << ")";
            return ::testing::AssertionFailure() << text.str();
        }
    }
    return ::testing::AssertionSuccess();
}
