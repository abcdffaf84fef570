#include "GLBox.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// One notch of an ordinary mouse wheel, in eighths of a degree.
constexpr double notch = 120.0;

} // namespace

double GLBox::worldPerDevicePixel() const
{
    return viewport[2] > 0 ? viewTransform.side() / viewport[2] : 0.0;
}

int GLBox::readoutDecimals() const
{
    return 2 + std::max(0, static_cast<int>(std::floor(std::log10(viewTransform.zoom()))));
}

void GLBox::applyView()
{
    storeViewMatrices();
    updateGL();
}

void GLBox::zoomAt(const Vector &p, double factor)
{
    const bool changed = viewTransform.zoomAbout(p.x(), p.y(), factor);
    // At a limit the message says why the view no longer changes.
    QString text = QString::asprintf("Zoom %gx", viewTransform.zoom());
    if (viewTransform.atZoomLimit())
        text += " (limit)";
    showStatus(text, readoutMessageTime);
    if (changed)
        applyView();
}

void GLBox::panBy(double dx, double dy)
{
    const bool changed = viewTransform.pan(dx, dy);
    const int d = readoutDecimals();
    QString text = QString::asprintf("Centre (%.*f, %.*f)", d, viewTransform.centreX(), d, viewTransform.centreY());
    if (viewTransform.atCentreLimit())
        text += " (edge)";
    showStatus(text, readoutMessageTime);
    if (changed)
        applyView();
}

void GLBox::resetView()
{
    viewTransform.reset();
    showStatus("View reset: zoom 1x, centre (0, 0)", actionMessageTime);
    applyView();
}

void GLBox::wheelEvent(QWheelEvent *event)
{
    // Every button already has a meaning, so the wheel follows vector
    // editors: with Ctrl it zooms, without it scrolls.
    event->accept();
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // A horizontal wheel has no zoom meaning of its own; a tilted one
        // reports both, of which the vertical part counts.
        const int steps = angle.y() != 0 ? angle.y() : angle.x();
        if (steps != 0)
            zoomAt(mapToWorld(event->position()), std::pow(zoomStep, steps / notch));
        return;
    }

    // Scroll amounts in world units, positive where the wheel turned
    // forwards (up) or to the left. A touchpad's pixel deltas move the
    // picture by exactly that many pixels; wheel notches by a tenth of the
    // visible side, fractions of a notch (fine-grained wheels) pro rata.
    const QPoint pixels = event->pixelDelta();
    double across = 0.0, up = 0.0;
    if (!pixels.isNull() && width() > 0) {
        const double perPixel = viewTransform.side() / width();
        across = pixels.x() * perPixel;
        up = pixels.y() * perPixel;
    } else {
        const double perNotch = viewTransform.side() * panStep;
        across = angle.x() / notch * perNotch;
        up = angle.y() / notch * perNotch;
    }
    // Shift turns the ordinary wheel sideways: forwards looks to the left.
    if (event->modifiers() & Qt::ShiftModifier) {
        if (across == 0.0)
            across = up;
        up = 0.0;
    }
    if (across != 0.0 || up != 0.0)
        panBy(-across, up);
}

void GLBox::keyPressEvent(QKeyEvent *event)
{
    const double step = viewTransform.side() * panStep;
    const Vector centre(viewTransform.centreX(), viewTransform.centreY(), 0.0);
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: // + without Shift on most layouts
        zoomAt(centre, zoomStep);
        break;
    case Qt::Key_Minus:
        zoomAt(centre, 1.0 / zoomStep);
        break;
    case Qt::Key_Left:
        panBy(-step, 0.0);
        break;
    case Qt::Key_Right:
        panBy(step, 0.0);
        break;
    case Qt::Key_Up:
        panBy(0.0, step);
        break;
    case Qt::Key_Down:
        panBy(0.0, -step);
        break;
    default:
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
