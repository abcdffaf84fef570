#pragma once

#include "geometry/Lattice.h"
#include "geometry/Vector.h"

#include <QString>
#include <Qt>

#include <functional>

class PolygonEditor;
class Scene;

// Turns the mouse into edits of the scene's polygon: a left press appends a
// point (Shift: splits the edge under the pointer, Ctrl: deletes the point
// under it), a middle press selects, a right drag moves a point (Ctrl:
// onto the grid's crossings); hovering highlights what a Ctrl or Shift
// press would act on; a double click on a point asks for its coordinates
// and Delete removes the selected points. Each gesture is told as a status
// message. The view maps positions to the plane first; this class sees
// world points, buttons and modifiers only.
class GestureHandler
{
public:
    // Which mouse action is under way; only Move changes how moves are
    // handled, Insert and Select are recorded for completeness.
    enum MouseMode { None = 0, Insert = 1, Select = 2, Move = 3 };

    // Status-bar time-outs in milliseconds: results of actions and hints,
    // and coordinate read-outs while hovering or dragging.
    static constexpr int actionMessageTime = 2000;
    static constexpr int readoutMessageTime = 1000;

    // Shows a message for milliseconds; may be empty (messages dropped).
    using Report = std::function<void(const QString &text, int milliseconds)>;

    // Edits through editor, highlights scene's polygon; both must outlive
    // the handler.
    GestureHandler(Scene &scene, PolygonEditor &editor, Report report);

    // A press of button at world point p; buttonsBefore are the buttons
    // held before it, decimals those of the coordinate read-outs.
    void press(Qt::MouseButton button, Qt::MouseButtons buttonsBefore, Qt::KeyboardModifiers modifiers,
               const Vector &p, int decimals);
    // A move to p with buttons held. True when the picture changed (a
    // dragged point moved, or highlights may have).
    bool move(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const Vector &p, int decimals);
    // What every release does: back to no mouse mode, the dragged point
    // (if any) loses its ghost, the drag is one undo step, and the curves
    // are made again.
    void release();
    // Ends a gesture under way without touching the polygon (its points
    // are about to be replaced).
    void cancel()
    {
        mouseMode = None;
        appended = false;
    }
    // A double click of button at p, after a press and release there. On
    // a control point that was there before the first click (a plain left
    // double click): the point that click appended is withdrawn
    // (PolygonEditor::withdrawAppend) and the 0-based index of the point
    // meant is returned, for the view to ask for its coordinates. -1
    // otherwise: the double click counts as another press.
    int doubleClick(Qt::MouseButton button, Qt::MouseButtons buttonsBefore, Qt::KeyboardModifiers modifiers,
                    const Vector &p);
    // Deletes the selected points as one step and says so; how many.
    int deleteSelected();

    MouseMode mouseMode = None;
    // World position of the last press or move.
    double lastX = 0.0;
    double lastY = 0.0;
    // Where appended and dragged points land: the decimals of the view's
    // pixel (Lattice::decimalFor), set by the view before each event; no
    // lattice leaves them where the pointer puts them.
    Lattice placement;

private:
    // The grid's crossings that Ctrl + drag puts a point on (whole units
    // while the grid is off).
    Lattice gridLattice() const;

    void show(const QString &text, int milliseconds) const;

    Scene &scene;
    PolygonEditor &editor;
    Report report;
    bool appended = false; // the last press appended a point
};
