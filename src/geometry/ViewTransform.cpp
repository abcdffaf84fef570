#include "geometry/ViewTransform.h"

#include <algorithm>
#include <cmath>

bool ViewTransform::isReset() const
{
    return cx == 0.0 && cy == 0.0 && zoomFactor == 1.0;
}

bool ViewTransform::atZoomLimit() const
{
    return zoomFactor == minZoom || zoomFactor == maxZoom;
}

bool ViewTransform::atCentreLimit() const
{
    return std::fabs(cx) == centreReach || std::fabs(cy) == centreReach;
}

void ViewTransform::reset()
{
    *this = ViewTransform();
}

bool ViewTransform::zoomAbout(double x, double y, double factor)
{
    if (!std::isfinite(factor) || factor <= 0.0 || !std::isfinite(x) || !std::isfinite(y))
        return false;
    const double newZoom = std::clamp(zoomFactor * factor, minZoom, maxZoom);
    // A point at offset d from the centre sits d * zoom from the middle of
    // the view; it stays there when its offset becomes d * zoom / newZoom.
    const double keep = zoomFactor / newZoom;
    const double newX = std::clamp(x - (x - cx) * keep, -centreReach, centreReach);
    const double newY = std::clamp(y - (y - cy) * keep, -centreReach, centreReach);
    const bool changed = newZoom != zoomFactor || newX != cx || newY != cy;
    zoomFactor = newZoom;
    cx = newX;
    cy = newY;
    return changed;
}

bool ViewTransform::pan(double dx, double dy)
{
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return false;
    const double newX = std::clamp(cx + dx, -centreReach, centreReach);
    const double newY = std::clamp(cy + dy, -centreReach, centreReach);
    const bool changed = newX != cx || newY != cy;
    cx = newX;
    cy = newY;
    return changed;
}

void ViewTransform::projectionMatrix(double matrix[16]) const
{
    // glOrtho(l, r, b, t, -1, 1) scales by 2 / (r - l) and moves by
    // -(r + l) / (r - l); with r - l = 2h around the centre c these are
    // 1 / h and -c / h, which at the reset state are 0.1 and 0 exactly, the
    // matrix gluOrtho2D(-10, 10, -10, 10) makes.
    const double h = halfSide();
    std::fill(matrix, matrix + 16, 0.0);
    matrix[0] = 1.0 / h;
    matrix[5] = 1.0 / h;
    matrix[10] = -1.0;
    matrix[12] = -cx / h;
    matrix[13] = -cy / h;
    matrix[15] = 1.0;
}
