#pragma once

// The part of the plane that the view shows: a square of side
// 2 * worldHalf / zoom world units around a centre, y up. At the reset
// state (centre (0, 0), zoom 1) it is the world square -10..10. The zoom
// stays within [minZoom, maxZoom] and each coordinate of the centre within
// [-centreReach, centreReach], so that no sequence of zooms and pans can
// make the view degenerate or lose it far away from the drawing.
class ViewTransform
{
public:
    // Half the side of the visible square at zoom 1, in world units.
    static constexpr double worldHalf = 10.0;
    // Zoom range. Beyond maxZoom a pixel would come close to the precision
    // of the single-precision vertices OpenGL draws with.
    static constexpr double minZoom = 0.25;
    static constexpr double maxZoom = 10000.0;
    // Largest |x| and |y| of the centre: the half side of the farthest
    // zoom-out, so every point that view shows can be centred and zoomed
    // into.
    static constexpr double centreReach = worldHalf / minZoom;
    // Largest |x| and |y| of any point that any view shows: the farthest
    // zoom-out, centred as far as it goes. The editor keeps control points
    // within it and polygon files accept every point within it, so that
    // whatever the editor makes, a file keeps and opens again.
    static constexpr double reach = centreReach + worldHalf / minZoom;

    double centreX() const { return cx; }
    double centreY() const { return cy; }
    // Magnification against the reset state, within [minZoom, maxZoom].
    double zoom() const { return zoomFactor; }
    // Side of the visible square in world units.
    double side() const { return 2.0 * halfSide(); }
    double halfSide() const { return worldHalf / zoomFactor; }
    // Edges of the visible square in world units.
    double left() const { return cx - halfSide(); }
    double right() const { return cx + halfSide(); }
    double bottom() const { return cy - halfSide(); }
    double top() const { return cy + halfSide(); }

    // True at centre (0, 0) and zoom 1 exactly.
    bool isReset() const;
    // True when the zoom sits at minZoom or maxZoom.
    bool atZoomLimit() const;
    // True when a coordinate of the centre sits at +-centreReach.
    bool atCentreLimit() const;

    // Back to centre (0, 0), zoom 1.
    void reset();
    // Multiplies the zoom by factor (clamped to the range) so that the
    // world point (x, y) keeps its place in the view, then clamps the
    // centre. A factor that is not a positive finite number changes
    // nothing. Returns true when the view changed.
    bool zoomAbout(double x, double y, double factor);
    // Moves the centre by (dx, dy) world units, clamped to the reach.
    // Returns true when the view changed.
    bool pan(double dx, double dy);

    // The orthographic projection of the visible square, as glOrtho would
    // make it with near -1 and far 1, column-major in 16 doubles.
    void projectionMatrix(double matrix[16]) const;

private:
    double cx = 0.0;
    double cy = 0.0;
    double zoomFactor = 1.0;
};
