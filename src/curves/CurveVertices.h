#pragma once

#include "geometry/List.h"
#include "geometry/Point.h"

#include <cstddef>
#include <vector>

// The vertices a curve hands to OpenGL, laid out in arrays once per
// subdivision and reused by every repaint until the next, so that every
// batch is one draw call instead of one call per vertex. The
// order is the one the curves draw in: p1, p2, p2, p3, ..., pn, pn, p1, so
// a GL_LINE_LOOP over all of it is the closed curve and GL_LINES over all
// but the last two vertices is the open polyline. Feedback mode (and so
// the PostScript export) sees exactly these primitives. On screen the loop
// skips its zero-length segments (pi to pi), which cover no pixel: the
// picture is the same and the software rasterizer has half the lines.
class CurveVertices
{
public:
    // Lays out points (positions, and ghosts where a point has one; with
    // shades, also the depth grey of every vertex).
    void fill(const List<Point> &points, bool shades);
    // Gives the arrays' memory back (after the curve itself was freed).
    void release();
    // True when the last fill() laid out the depth greys too.
    bool hasShades() const { return !greys.empty() || pointCount == 0; }

    // One GL_LINE_LOOP through all vertices: ghosts (positions where there
    // is none) or positions.
    void drawLoop(bool ghost) const;
    // One GL_LINES over the pairs of the open polyline.
    void drawPairs(bool ghost) const;
    // The same pairs with every vertex in its depth grey.
    void drawShadedPairs() const;
    // One GL_POINTS through every point, head to tail, in the current colour.
    void drawPoints() const;

private:
    // stride 2 takes every second vertex from vertex 0: p1, p2, ..., pn.
    void draw(unsigned mode, bool ghost, std::size_t vertexCount, int stride = 1) const;

    std::vector<float> positions; // x, y per vertex
    std::vector<float> ghosts;    // filled only while some point has a ghost
    std::vector<float> greys;     // r, g, b per vertex, for drawShadedPairs()
    std::size_t pointCount = 0;
};
