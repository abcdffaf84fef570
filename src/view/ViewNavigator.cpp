#include "view/ViewNavigator.h"

#include <QPoint>
#include <QPointF>

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace {

// One notch of an ordinary mouse wheel, in eighths of a degree.
constexpr double notch = 120.0;
// Read-outs stay a second (hovering, dragging, zooming), results two.
constexpr int readoutTime = 1000;
constexpr int actionTime = 2000;

} // namespace

ViewNavigator::ViewNavigator(Report report) : report(std::move(report)) {}

void ViewNavigator::resize(int deviceSide)
{
    viewport[0] = viewport[1] = 0;
    viewport[2] = viewport[3] = deviceSide;
    storeMatrices();
}

void ViewNavigator::storeMatrices()
{
    // The same matrices as the view gives OpenGL, kept in double precision:
    // read back from OpenGL they would carry its single precision, a good
    // part of a pixel at the largest zooms.
    transform.projectionMatrix(projection);
    std::fill(modelview, modelview + 16, 0.0);
    for (int i = 0; i < 16; i += 5)
        modelview[i] = 1.0;
}

Vector ViewNavigator::mapToWorld(const QPointF &pos, double logicalHeight, double ratio) const
{
    // Mouse positions are logical pixels while the stored viewport is in
    // device pixels: scale before un-projecting. The window y axis points
    // up from the bottom edge of the widget.
    if (viewport[2] <= 0)
        return {};
    const double winX = pos.x() * ratio;
    const double winY = (logicalHeight - pos.y()) * ratio;
    double x = 0, y = 0, z = 0;
    if (gluUnProject(winX, winY, 0.0, modelview, projection, viewport, &x, &y, &z) != GL_TRUE)
        return {};
    return {x, y, 0.0};
}

double ViewNavigator::worldPerDevicePixel() const
{
    return viewport[2] > 0 ? transform.side() / viewport[2] : 0.0;
}

int ViewNavigator::readoutDecimals() const
{
    return 2 + std::max(0, static_cast<int>(std::floor(std::log10(transform.zoom()))));
}

bool ViewNavigator::zoomAt(const Vector &p, double factor)
{
    const bool changed = transform.zoomAbout(p.x(), p.y(), factor);
    // At a limit the message says why the view no longer changes.
    QString text = QString::asprintf("Zoom %gx", transform.zoom());
    if (transform.atZoomLimit())
        text += " (limit)";
    if (report)
        report(text, readoutTime);
    if (changed)
        storeMatrices();
    return changed;
}

bool ViewNavigator::panBy(double dx, double dy)
{
    const bool changed = transform.pan(dx, dy);
    const int d = readoutDecimals();
    QString text = QString::asprintf("Centre (%.*f, %.*f)", d, transform.centreX(), d, transform.centreY());
    if (transform.atCentreLimit())
        text += " (edge)";
    if (report)
        report(text, readoutTime);
    if (changed)
        storeMatrices();
    return changed;
}

void ViewNavigator::reset()
{
    transform.reset();
    storeMatrices();
    if (report)
        report("View reset: zoom 1x, centre (0, 0)", actionTime);
}

bool ViewNavigator::wheel(const QPoint &angle, const QPoint &pixels, bool ctrl, bool shift, const Vector &at,
                          double logicalWidth)
{
    // Every button already has a meaning, so the wheel follows vector
    // editors: with Ctrl it zooms, without it scrolls.
    if (ctrl) {
        // A horizontal wheel has no zoom meaning of its own; a tilted one
        // reports both, of which the vertical part counts.
        const int steps = angle.y() != 0 ? angle.y() : angle.x();
        return steps != 0 && zoomAt(at, std::pow(zoomStep, steps / notch));
    }
    // Scroll amounts in world units, positive where the wheel turned
    // forwards (up) or to the left. A touchpad's pixel deltas move the
    // picture by exactly that many pixels; wheel notches by a tenth of the
    // visible side, fractions of a notch (fine-grained wheels) pro rata.
    double across = 0.0, up = 0.0;
    if (!pixels.isNull() && logicalWidth > 0) {
        const double perPixel = transform.side() / logicalWidth;
        across = pixels.x() * perPixel;
        up = pixels.y() * perPixel;
    } else {
        const double perNotch = transform.side() * panStep;
        across = angle.x() / notch * perNotch;
        up = angle.y() / notch * perNotch;
    }
    // Shift turns the ordinary wheel sideways: forwards looks to the left.
    if (shift) {
        if (across == 0.0)
            across = up;
        up = 0.0;
    }
    return (across != 0.0 || up != 0.0) && panBy(-across, up);
}

bool ViewNavigator::key(int key, bool &changed)
{
    const double step = transform.side() * panStep;
    const Vector centre(transform.centreX(), transform.centreY(), 0.0);
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: // + without Shift on most layouts
        changed = zoomAt(centre, zoomStep);
        return true;
    case Qt::Key_Minus:
        changed = zoomAt(centre, 1.0 / zoomStep);
        return true;
    case Qt::Key_Left:
        changed = panBy(-step, 0.0);
        return true;
    case Qt::Key_Right:
        changed = panBy(step, 0.0);
        return true;
    case Qt::Key_Up:
        changed = panBy(0.0, step);
        return true;
    case Qt::Key_Down:
        changed = panBy(0.0, -step);
        return true;
    default:
        return false;
    }
}
