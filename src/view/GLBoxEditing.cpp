#include "GLBox.h"

#include "geometry/ControlPoints.h"

#include <QMouseEvent>

#include <algorithm>

namespace {

// The keyboard-and-button state as it was before an event, compared as a
// whole: Ctrl or Shift count only when held alone, with no other modifier
// and no button already down.
enum class State { Ctrl, Shift, Other };

State stateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttonsBefore)
{
    if (buttonsBefore != Qt::NoButton)
        return State::Other;
    if (modifiers == Qt::ControlModifier)
        return State::Ctrl;
    if (modifiers == Qt::ShiftModifier)
        return State::Shift;
    return State::Other;
}

// format takes each coordinate as a precision and a value ("%2.*f"), so
// that the read-outs gain decimals as the view zooms in.
QString coordinates(const char *format, int decimals, const Vector &p)
{
    return QString::asprintf(format, decimals, p.x(), decimals, p.y());
}

// The nearest point to p that some view reaches. A press lands there
// anyway; a drag can pull the pointer far beyond the view, and a file
// would refuse a point out there.
Vector withinReach(const Vector &p)
{
    constexpr double r = ViewTransform::reach;
    return {std::clamp(p.x(), -r, r), std::clamp(p.y(), -r, r), p.z()};
}

} // namespace

void GLBox::mousePressEvent(QMouseEvent *event)
{
    const Vector p = mapToWorld(event->position());
    const int decimals = readoutDecimals();
    // A press already counts its own button as held; the state before the
    // press is everything else.
    const State state = stateOf(event->modifiers(), event->buttons() & ~event->button());

    switch (event->button()) {
    case Qt::LeftButton:
        if (state == State::Ctrl) {
            // A drag whose release never reached the view (a modal box took
            // it) must not keep pointing at the point deleted here.
            if (movingPoint && controlPoints->pickPoint(p) == movingPoint)
                movingPoint = nullptr;
            if (recordEdit(tr("Delete Point"), [&] { return controlPoints->deletePoint(p); }))
                showStatus(coordinates("Deleted control point at (%2.*f, %2.*f)", decimals, p), actionMessageTime);
        } else if (state == State::Shift) {
            const Point *q = nullptr;
            if (recordEdit(tr("Split Edge"), [&] { return (q = controlPoints->insertMidpoint(p)) != nullptr; }))
                showStatus(coordinates("Inserted control point at midpoint (%2.*f, %2.*f)", decimals, q->position),
                           actionMessageTime);
        } else {
            mouseMode = Insert;
            const Vector q = withinReach(p);
            if (recordEdit(tr("Append Point"), [&] { return controlPoints->insertPoint(q); }))
                showStatus(coordinates("Inserted control point at (%2.*f, %2.*f)", decimals, q), actionMessageTime);
        }
        break;
    case Qt::RightButton:
        mouseMode = Move;
        // A second right press before the release starts a new drag: the
        // point of the first one must not keep its ghost for ever, and the
        // first drag is a step of its own.
        if (movingPoint)
            movingPoint->hasGhost = false;
        commitDrag();
        movingPoint = controlPoints->pickPoint(p);
        if (movingPoint) {
            movingPoint->ghost = movingPoint->position;
            // From press to release the drag is one step, however many
            // moves it takes.
            dragStart = currentPolygon();
        }
        break;
    case Qt::MiddleButton:
        mouseMode = Select;
        if (const Point *q = controlPoints->selectPoint(p))
            showStatus(coordinates("Selected control point at (%2.*f, %2.*f)", decimals, q->position),
                       actionMessageTime);
        break;
    default:
        break;
    }

    lastX = p.x();
    lastY = p.y();
    updateGL();
}

void GLBox::mouseMoveEvent(QMouseEvent *event)
{
    const Vector p = mapToWorld(event->position());
    const int decimals = readoutDecimals();

    // A modal box or another window can take the right button's release;
    // the first move without the button ends the drag as the release
    // would have, and is then an ordinary move.
    if (mouseMode == Move && !(event->buttons() & Qt::RightButton))
        endGesture();

    if (mouseMode == Move) {
        // A right press that hit no point leaves the view quiet until the
        // release: no highlight, no read-out, no repaint.
        if (movingPoint) {
            // The point follows the pointer's movement, so it keeps the
            // offset from the cursor it had when it was grabbed.
            movingPoint->hasGhost = true;
            movingPoint->position = withinReach(movingPoint->position + Vector(p.x() - lastX, p.y() - lastY, 0.0));
            controlPoints->dirty = true;
            updateGL();
            const Vector &ghost = movingPoint->ghost;
            const double d = distance(movingPoint->position, ghost);
            const int n = decimals;
            showStatus(QString::asprintf("(%2.*f, %2.*f) -> (%2.*f, %2.*f) [d=%2.*f]", n, ghost.x(), n,
                                         ghost.y(), n, p.x(), n, p.y(), n, d),
                       readoutMessageTime);
        }
    } else {
        switch (stateOf(event->modifiers(), event->buttons())) {
        case State::Shift:
            if (controlPoints->highlightEdge(p))
                showStatus("Press left mouse button to insert midpoint on highlighted edge", actionMessageTime);
            else
                showStatus(coordinates("(%2.*f,%2.*f)", decimals, p), readoutMessageTime);
            break;
        case State::Ctrl:
            if (controlPoints->highlightPoint(p)) {
                showStatus("Press left mouse button to delete highlighted point", actionMessageTime);
            } else {
                if (controlPoints->highlighted)
                    controlPoints->clearHighlight();
                showStatus(coordinates("(%2.*f, %2.*f)", decimals, p), readoutMessageTime);
            }
            break;
        case State::Other:
            if (controlPoints->highlighted)
                controlPoints->clearHighlight();
            controlPoints->highlightPoint(p);
            showStatus(coordinates("(%2.*f,%2.*f)", decimals, p), readoutMessageTime);
            break;
        }
        updateGL();
    }

    lastX = p.x();
    lastY = p.y();
}

void GLBox::mouseReleaseEvent(QMouseEvent * /*event*/)
{
    endGesture();
}

void GLBox::endGesture()
{
    mouseMode = None;
    if (movingPoint) {
        movingPoint->hasGhost = false;
        movingPoint = nullptr;
    }
    commitDrag();
    // Whatever the press did, the curves subdivide again at the next paint.
    controlPoints->dirty = true;
    updateGL();
}
