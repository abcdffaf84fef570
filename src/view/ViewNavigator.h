#pragma once

#include "geometry/Vector.h"
#include "geometry/ViewTransform.h"

#include <QString>

#include <functional>

class QPoint;
class QPointF;

// Where the view looks and how its pixels map to the plane: the visible
// square (ViewTransform), the matrices and the viewport that mouse
// positions are un-projected against, and the zooms and pans of the wheel
// and the keys, each told as a read-out message. No widget of its own: the
// view hands it its size, its pixel ratio and its events' values.
class ViewNavigator
{
public:
    // One wheel notch (an angle delta of 120) or key press zooms by this
    // factor, or pans by a panStep of the visible side.
    static constexpr double zoomStep = 1.25;
    static constexpr double panStep = 0.1;

    // Shows a message for milliseconds; may be empty (messages dropped).
    using Report = std::function<void(const QString &text, int milliseconds)>;
    explicit ViewNavigator(Report report);

    ViewTransform transform;
    // The matrices of the current transform (modelview identity) and the
    // viewport of the last resize, in device pixels; what mapToWorld
    // un-projects against. Zero before the first resize.
    double modelview[16] = {};
    double projection[16] = {};
    int viewport[4] = {};

    // A resize to a square of deviceSide device pixels.
    void resize(int deviceSide);
    // Stores the matrices of the current transform (after a change).
    void storeMatrices();
    // The world point (x, y, 0) under a position in logical pixels of a
    // view logicalHeight tall at ratio device pixels per logical pixel;
    // (0, 0, 0) before the first resize.
    Vector mapToWorld(const QPointF &pos, double logicalHeight, double ratio) const;
    // World units per device pixel (0 before the first resize).
    double worldPerDevicePixel() const;
    // Decimals of the coordinate read-outs: 2 below zoom 10, one more for
    // each tenfold zoom beyond, so one pixel's step stays readable.
    int readoutDecimals() const;

    // Zooms by factor keeping world point p in its place, or pans by
    // (dx, dy) world units; both report the new zoom or centre. True when
    // the view changed.
    bool zoomAt(const Vector &p, double factor);
    bool panBy(double dx, double dy);
    // Back to the reset view; reports it.
    void reset();
    // A wheel turn: Ctrl zooms about at (world), otherwise the view
    // scrolls, Shift sideways; angle in eighths of a degree, pixels a
    // touchpad's, logicalWidth the view's. True when the view changed.
    bool wheel(const QPoint &angle, const QPoint &pixels, bool ctrl, bool shift, const Vector &at,
               double logicalWidth);
    // A key: + or = and - zoom about the centre, arrows pan. False for any
    // other key (not handled); changed tells whether the view changed.
    bool key(int key, bool &changed);

private:
    Report report;
};
