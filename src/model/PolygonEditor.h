#pragma once

#include "geometry/Lattice.h"
#include "model/PolygonSnapshot.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class ControlPoints;
class Point;
class Scene;
class Vector;

// Edits of the scene's control polygon as the user makes them, each one
// step of an undo history: it keeps the polygon as it was before and after
// every edit (PolygonSnapshot) and tells whoever keeps the history
// (edited). A drag is one step from press to release, however many moves
// it takes; an edit in the middle of a drag ends the drag's step there and
// the drag goes on as a new one. Edits of the scene's settings are not
// steps. No Qt: the step names are plain text, for the caller to show.
class PolygonEditor
{
public:
    // Told every edit that changed the polygon, with the polygon before and
    // after (never null, never equal) and the step's name ("Move Point").
    using Edited = std::function<void(const PolygonSnapshot::Shared &before, const PolygonSnapshot::Shared &after,
                                      const std::string &step)>;

    // Edits scene's polygon; scene must outlive the editor.
    explicit PolygonEditor(Scene &scene);

    Edited edited;

    // Appends a point at p, or at the nearest point within any view's
    // reach (ViewTransform::reach), which files keep ("Append Point"); true
    // when one was added.
    bool append(const Vector &p);
    // Splits the edge that starts at the point under p ("Split Edge");
    // the new midpoint, or null when nothing was split.
    const Point *split(const Vector &p);
    // Deletes the point under p ("Delete Point"), also a dragged one; true
    // when one was deleted.
    bool remove(const Vector &p);
    // Takes back the last step when it appended a point and the polygon
    // has not changed since (the first click of a double click): the
    // polygon as it was before, without telling edited, whose keeper must
    // forget the step. True when it did.
    bool withdrawAppend();
    // Deletes every selected point ("Delete Selected Points"), also a
    // dragged one; the number deleted (0: nothing changed, no step).
    std::uint32_t removeSelected();
    // Moves point index (0-based, in polygon order) to p, kept within
    // reach ("Edit Point"); true when that moved it. An index past the
    // last point changes nothing.
    bool setPosition(std::size_t index, const Vector &p);
    // Deletes every point ("Delete Control Points"), dropping every curve's
    // result; a drag under way loses its point. True when there were any.
    bool removeAll();
    // Opens or closes the polygon ("Open Polygon", "Close Polygon"); true
    // when that changed it. The curves are made again either way.
    bool setClosed(bool closed);

    // Starts a drag of the point under p, which keeps its position as its
    // ghost; a drag under way ends first. The point, or null when none is
    // under p (a drag without a point).
    Point *beginDrag(const Vector &p);
    // Moves the dragged point by (dx, dy) world units, kept within reach,
    // and puts it on the point of lattice nearest to where the moves alone
    // have taken it (so a point that left a lattice follows the pointer
    // again); nothing without a dragged point. Without a lattice the moves
    // add up as they come.
    void dragBy(double dx, double dy, const Lattice &lattice = {});
    // Ends the drag: the point loses its ghost and the drag is one step.
    void endDrag();
    // A drag that has moved its point becomes a step now ("Move Point");
    // while the point is still dragged, the moves from here on make
    // another. Nothing without such a drag.
    void commitDrag();
    // The point being dragged (a point of the polygon), or null. Held here
    // so that the view can show it as its own member.
    Point *movingPoint = nullptr;

    // Replaces the polygon by snapshot (not null), as an undo or redo does:
    // ends a drag under way without a step (Scene::replacePolygon).
    void restore(const PolygonSnapshot::Shared &snapshot);
    // The polygon as it is now, sharing the snapshot of the last step when
    // that still holds it.
    PolygonSnapshot::Shared currentPolygon();

private:
    // Runs edit, which returns whether it changed the polygon, as one step
    // named step; a drag under way is committed first and goes on
    // afterwards as a new step. Returns edit's answer.
    bool record(const std::string &step, const std::function<bool()> &edit);

    Scene &scene;
    ControlPoints &polygon;
    PolygonSnapshot::Shared lastSnapshot; // the polygon at the last step or restore
    PolygonSnapshot::Shared stepBefore;   // the polygon before the step record() made last
    PolygonSnapshot::Shared appendBefore; // the same, when that step was an append
    PolygonSnapshot::Shared dragStart;    // the polygon when the drag under way began; null without one
    Vector dragFree;                      // where the moves alone have taken the dragged point
};
