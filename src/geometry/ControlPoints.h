#pragma once

#include "geometry/List.h"
#include "geometry/Point.h"

// Signed area of a point sequence taken as a closed polygon: the triangle
// fan from the first point with the two later points in descending order,
// so positive when the points run clockwise (x right, y up); z is ignored.
// 0 for fewer than 3 points.
double fanArea(const List<Point> &points);

// The editable control polygon: the points the user places, the open/closed
// switch, the flag that tells the curves to subdivide again and the
// polygon's own signed area. Owns its points. Every edit that changes the
// points sets dirty; the curves clear it when they rebuild (in the program,
// only the scene's update does that). Drawing is not the polygon's job:
// draw() hands it to the drawer that the drawing layer installs.
class ControlPoints
{
public:
    // Draws a polygon in whatever the drawing layer draws into at the time
    // (the current OpenGL context); installed once, never owned.
    using Drawer = void (*)(const ControlPoints &polygon);
    static void setDrawer(Drawer drawer);

    // A point lies under a position when it is at most this far away.
    static constexpr double pickRadius = 0.1;

    ControlPoints() = default;
    ControlPoints(const ControlPoints &) = delete;
    ControlPoints &operator=(const ControlPoints &) = delete;
    ~ControlPoints();

    // Appends a new point at p after the last point.
    bool insertPoint(const Vector &p);
    // Inserts the midpoint of the edge that starts at the first point under
    // p; returns the new point, or null when no point or no edge is there.
    Point *insertMidpoint(const Vector &p);
    // Removes and frees the first point under p; false when none.
    bool deletePoint(const Vector &p);
    // Selects every point under p and deselects the rest; returns the last
    // point selected, or null.
    Point *selectPoint(const Vector &p);
    // Removes and frees every selected point; the number removed.
    std::uint32_t deleteSelected();
    // The first point under p, or null; changes nothing.
    Point *pickPoint(const Vector &p);
    // Highlights the edge starting at the first point under p.
    bool highlightEdge(const Vector &p);
    // Highlights the first point under p.
    bool highlightPoint(const Vector &p);
    // Clears every point and edge highlight; selection stays.
    void clearHighlight();
    // Deletes every point; closed and cachedArea stay.
    void clear();
    // Signed area of the closed polygon, positive when the points run
    // clockwise; 0 when open or with fewer than 3 points. Recomputed only
    // while dirty, otherwise cachedArea.
    double area();
    // Draws ghost edges, points, polygon and highlighted edges through the
    // installed drawer; nothing without one.
    void draw() const;

    // Number of edges: points when closed, points - 1 when open (may be -1).
    int edgeCount() const;

    bool highlighted = false;
    bool closed = false;
    bool dirty = true;
    List<Point> points;
    double cachedArea = 0.0;

private:
    static bool isUnder(const Point &point, const Vector &p);
};
