#pragma once

#include "curves/PolylineSimplifier.h"
#include "render/Canvas.h"
#include "geometry/List.h"
#include "geometry/Point.h"

#include <cstddef>
#include <vector>

// The vertices of a curve as a canvas takes them, laid out in arrays once
// per subdivision and reused by every drawing until the next, so that
// every batch is one call instead of one per vertex. The order is the one
// the curves have always been recorded in: p1, p2, p2, p3, ..., pn, pn, p1,
// so a loop over all of it is the closed curve and pairs over all but the
// last two vertices are the open polyline: what feedback capture (and so
// the PostScript export) sees with repeat set. Without it, every other
// vertex is taken (p1, p2, ..., pn): the loop without its zero-length
// segments and the polyline as one strip, the same picture with half the
// lines.
//
// Beside this full layout there is a simplified one (fillSimplified): the
// loop or polyline merged within a tolerance far below what the output can
// resolve (a fraction of a device pixel on screen), so that a curve of
// millions of points is stroked as the few thousand segments the output
// can show. Which of the two the draw functions use is chosen with
// showSimplified(); CurveLayout picks it for the frame.
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

    // One loop through the ghosts (positions where there is none) or the
    // positions, on canvas in its current colour: all vertices with
    // repeat, else every other one. Simplified: the simplified loop.
    void drawLoop(Canvas &canvas, bool ghost, bool repeat) const;
    // The open polyline: pairs with repeat, else one strip. Simplified:
    // one strip through the simplified polyline.
    void drawPolyline(Canvas &canvas, bool ghost, bool repeat) const;
    // The same polyline with every vertex in its depth grey.
    void drawShaded(Canvas &canvas, bool repeat) const;
    // Every point, head to tail (simplified: the thinned dots), as squares
    // in the current colour.
    void drawPoints(Canvas &canvas) const;

private:
    // The full arrays: shape over vertexCount vertices from vertex 0, every
    // stride-th (stride 2: p1, p2, ..., pn), with the greys when shaded.
    void draw(Canvas &canvas, Canvas::Shape shape, bool ghost, std::size_t vertexCount, std::size_t stride,
              bool shaded = false) const;
    // The simplified loop or polyline (or its ghost) as shape.
    void drawSimplified(Canvas &canvas, Canvas::Shape shape, bool ghost) const;

    std::vector<float> positions; // x, y per vertex
    std::vector<float> ghosts;    // filled only while some point has a ghost
    std::vector<float> greys;     // r, g, b per vertex, for drawShaded()
    std::size_t pointCount = 0;

    PolylineSimplifier shape;      // positions, their greys and the dots
    PolylineSimplifier ghostShape; // ghosts, laid out only while some point has one
    std::vector<float> shapeGreys; // r, g, b per vertex of shape
    bool simplifiedShades = false;
    bool simplifiedDots = false;
    bool simplifiedGhosts = false;
    bool simplifiedShown = false;
};
