#include "view/GestureHandler.h"

#include "geometry/ControlPoints.h"
#include "model/PolygonEditor.h"
#include "model/Scene.h"

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

} // namespace

GestureHandler::GestureHandler(Scene &scene, PolygonEditor &editor, Report report)
    : scene(scene), editor(editor), report(std::move(report))
{
}

void GestureHandler::show(const QString &text, int milliseconds) const
{
    if (report)
        report(text, milliseconds);
}

void GestureHandler::press(Qt::MouseButton button, Qt::MouseButtons buttonsBefore, Qt::KeyboardModifiers modifiers,
                           const Vector &p, int decimals)
{
    const State state = stateOf(modifiers, buttonsBefore);
    appended = false;
    switch (button) {
    case Qt::LeftButton:
        if (state == State::Ctrl) {
            if (editor.remove(p))
                show(coordinates("Deleted control point at (%2.*f, %2.*f)", decimals, p), actionMessageTime);
        } else if (state == State::Shift) {
            if (const Point *q = editor.split(p))
                show(coordinates("Inserted control point at midpoint (%2.*f, %2.*f)", decimals, q->position),
                     actionMessageTime);
        } else {
            mouseMode = Insert;
            // The point lands on the decimals of the pixel clicked, which
            // the read-out shows.
            const Vector placed = placement.nearest(p);
            appended = editor.append(placed);
            if (appended)
                show(coordinates("Inserted control point at (%2.*f, %2.*f)", decimals, placed), actionMessageTime);
        }
        break;
    case Qt::RightButton:
        mouseMode = Move;
        // From press to release the drag is one step, however many moves
        // it takes.
        editor.beginDrag(p);
        break;
    case Qt::MiddleButton:
        mouseMode = Select;
        if (const Point *q = scene.polygon().selectPoint(p))
            show(coordinates("Selected control point at (%2.*f, %2.*f)", decimals, q->position), actionMessageTime);
        break;
    default:
        break;
    }
    lastX = p.x();
    lastY = p.y();
}

bool GestureHandler::move(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const Vector &p, int decimals)
{
    // A modal box or another window can take the right button's release;
    // the first move without the button ends the drag as the release
    // would have, and is then an ordinary move.
    bool changed = false;
    if (mouseMode == Move && !(buttons & Qt::RightButton)) {
        release();
        changed = true;
    }
    ControlPoints &polygon = scene.polygon();
    if (mouseMode == Move) {
        // A right press that hit no point leaves the view quiet until the
        // release: no highlight, no read-out, no repaint.
        if (Point *moving = editor.movingPoint) {
            // Ctrl puts the point on the grid; the read-out then gives
            // where it stands instead of where the pointer is.
            const bool snapped = modifiers & Qt::ControlModifier;
            editor.dragBy(p.x() - lastX, p.y() - lastY, snapped ? gridLattice() : placement);
            changed = true;
            const Vector &ghost = moving->ghost;
            const Vector &to = snapped ? moving->position : p;
            const double d = distance(moving->position, ghost);
            const int n = decimals;
            show(QString::asprintf("(%2.*f, %2.*f) -> (%2.*f, %2.*f) [d=%2.*f]", n, ghost.x(), n, ghost.y(), n,
                                   to.x(), n, to.y(), n, d) +
                     (snapped ? " on the grid" : ""),
                 readoutMessageTime);
        }
    } else {
        switch (stateOf(modifiers, buttons)) {
        case State::Shift:
            if (polygon.highlightEdge(p))
                show("Press left mouse button to insert midpoint on highlighted edge", actionMessageTime);
            else
                show(coordinates("(%2.*f,%2.*f)", decimals, p), readoutMessageTime);
            break;
        case State::Ctrl:
            if (polygon.highlightPoint(p)) {
                show("Press left mouse button to delete highlighted point", actionMessageTime);
            } else {
                if (polygon.highlighted)
                    polygon.clearHighlight();
                show(coordinates("(%2.*f, %2.*f)", decimals, p), readoutMessageTime);
            }
            break;
        case State::Other:
            if (polygon.highlighted)
                polygon.clearHighlight();
            polygon.highlightPoint(p);
            show(coordinates("(%2.*f,%2.*f)", decimals, p), readoutMessageTime);
            break;
        }
        changed = true;
    }
    lastX = p.x();
    lastY = p.y();
    return changed;
}

Lattice GestureHandler::gridLattice() const
{
    // The grid's lines run at x = -10 + k * spacing and y = 10 - k * spacing.
    const int spacing = scene.backdrop.gridSpace;
    return {spacing > 0 ? double(spacing) : 1.0, -10.0, 10.0};
}

int GestureHandler::doubleClick(Qt::MouseButton button, Qt::MouseButtons buttonsBefore,
                                Qt::KeyboardModifiers modifiers, const Vector &p)
{
    // The first click of a plain double click appended a point, the
    // polygon's last; a point under the pointer before that one is the
    // point meant.
    const ControlPoints &polygon = scene.polygon();
    if (button != Qt::LeftButton || buttonsBefore != Qt::NoButton || modifiers != Qt::NoModifier || !appended ||
        polygon.points.count < 2)
        return -1;
    appended = false;
    int index = 0;
    for (const Node<Point> *n = polygon.points.head; n != polygon.points.tail; n = n->next, ++index)
        if (distance(n->item->position, p) <= ControlPoints::pickRadius)
            return editor.withdrawAppend() ? index : -1;
    return -1;
}

int GestureHandler::deleteSelected()
{
    const std::uint32_t removed = editor.removeSelected();
    if (removed == 0)
        show("No control point selected: select one with the middle mouse button", actionMessageTime);
    else if (removed == 1)
        show("Deleted the selected control point", actionMessageTime);
    else
        show(QString::asprintf("Deleted %u selected control points", unsigned(removed)), actionMessageTime);
    return int(removed);
}

void GestureHandler::release()
{
    mouseMode = None;
    editor.endDrag();
    // Whatever the press did, the curves are made again.
    scene.markChanged();
}
