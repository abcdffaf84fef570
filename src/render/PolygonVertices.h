#pragma once

#include "curves/PolylineSimplifier.h"

#include <cstddef>
#include <vector>

class Canvas;
class ControlPoints;
struct Frame;

// The control polygon laid out for a canvas: the grey edges of a drag, the
// points in their state colours (a dragged point's ghost grey beside it),
// the polygon's line, the highlighted edges and a ring round each selected
// point. In a frame that simplifies (the screen: a tolerance and no
// wholeUpTo) the line is merged within the tolerance like a curve and a
// plain point closer than a device pixel to the last plain point drawn is
// left out, so that a polygon of 100,000 points costs what the view can
// show; every point in any other state is drawn. Otherwise (feedback,
// PostScript, pages) every point and edge is drawn.
class PolygonVertices
{
public:
    // Lays out polygon for frame.
    void fill(const ControlPoints &polygon, const Frame &frame);
    // Draws the layout in frame: ghost edges, points, line, highlighted
    // edges and rings, in that order; leaves the canvas plain at width and
    // point size 1 (times the frame's width scale).
    void draw(Canvas &canvas, const Frame &frame) const;

    // Vertices of the line and points laid out (for reports and tests).
    std::size_t lineVertices() const { return (simplified ? shape.vertices() : line).size() / 2; }
    std::size_t dotCount() const { return dots.size() / 2; }
    // Selected points ringed.
    std::size_t ringCount() const { return rings.size() / (4 * ringSides); }

    // A ring's radius in device pixels (times the width scale) and sides.
    static constexpr double ringRadius = 8.0;
    static constexpr int ringSides = 16;

private:
    void addRing(double x, double y, double radius);

    std::vector<float> ghostEdges, dots, dotColours, line, highlighted, rings;
    PolylineSimplifier shape;
    bool simplified = false;
    bool closed = false;
};
