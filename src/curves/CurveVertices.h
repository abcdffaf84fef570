#pragma once

#include "curves/PolylineSimplifier.h"
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
// the PostScript export) sees exactly these primitives. On screen and on a
// page (DrawStyle::printPage) the loop skips its zero-length segments (pi
// to pi), which cover no pixel: the picture is the same with half the lines.
//
// Beside this full layout there is a simplified one (fillSimplified): the
// loop or polyline merged within a tolerance far below what the output can
// resolve (a fraction of a device pixel on screen), so that a curve of
// millions of points is stroked as the few thousand segments the view can
// show. Which of the two the draw functions use is chosen with
// showSimplified(); the curve picks it by render mode.
class CurveVertices
{
public:
    // Lays out points (positions, and ghosts where a point has one; with
    // shades, also the depth grey of every vertex).
    void fill(const List<Point> &points, bool shades);
    // Lays out points simplified within tolerance world units (> 0): the
    // positions as a closed loop or, with closed false, an open polyline
    // (greys kept with shades, merged only where the grey stays), the
    // ghosts likewise when a point has one, and with dots the points
    // thinned for drawPoints().
    void fillSimplified(const List<Point> &points, bool shades, bool closed, double tolerance, bool dots);
    // Gives the arrays' memory back (after the curve itself was freed).
    void release();
    // Gives back the full layout's memory only.
    void releaseFull();
    // True when the last fill() laid out the depth greys too.
    bool hasShades() const { return !greys.empty() || pointCount == 0; }
    // The same for the last fillSimplified().
    bool hasSimplifiedShades() const { return simplifiedShades; }
    // True when the last fillSimplified() thinned the dots too.
    bool hasSimplifiedDots() const { return simplifiedDots; }
    // Draw from the simplified layout (true) or the full one (false).
    void showSimplified(bool on) { simplifiedShown = on; }
    // True when the layout drawn from holds ghosts, that is when some
    // point had one (a drag was under way) at the last fill.
    bool hasGhosts() const { return simplifiedShown ? simplifiedGhosts : !ghosts.empty(); }
    // Vertices of the simplified loop or polyline (for reports and tests).
    std::size_t simplifiedVertices() const { return shape.size(); }

    // One GL_LINE_LOOP through all vertices: ghosts (positions where there
    // is none) or positions. Simplified: the simplified loop.
    void drawLoop(bool ghost) const;
    // One GL_LINES over the pairs of the open polyline. Simplified: one
    // GL_LINE_STRIP through the simplified polyline.
    void drawPairs(bool ghost) const;
    // The same pairs (or strip) with every vertex in its depth grey.
    void drawShadedPairs() const;
    // One GL_POINTS through every point, head to tail (simplified: the
    // thinned dots), in the current colour.
    void drawPoints() const;

private:
    // stride 2 takes every second vertex from vertex 0: p1, p2, ..., pn.
    void draw(unsigned mode, bool ghost, std::size_t vertexCount, int stride = 1) const;
    // The simplified arrays: mode over the loop (or ghost loop), or over
    // the dots.
    void drawSimplified(unsigned mode, bool ghost, bool shaded) const;

    std::vector<float> positions; // x, y per vertex
    std::vector<float> ghosts;    // filled only while some point has a ghost
    std::vector<float> greys;     // r, g, b per vertex, for drawShadedPairs()
    std::size_t pointCount = 0;

    PolylineSimplifier shape;      // positions, their greys and the dots
    PolylineSimplifier ghostShape; // ghosts, laid out only while some point has one
    std::vector<float> shapeGreys; // r, g, b per vertex of shape
    bool simplifiedShades = false;
    bool simplifiedDots = false;
    bool simplifiedGhosts = false;
    bool simplifiedShown = false;
};
