#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "curves/Mask.h"
#include "geometry/ControlPoints.h"
#include "geometry/List.h"
#include "geometry/Point.h"
#include "geometry/Pool.h"
#include "curves/Schemes.h"

// The number of points whose drag step (subdivision and simplified drawing
// at nanosecondsPerPoint) fits in targetMilliseconds and whose storage (at
// bytesPerPoint, beside the program's own baseMegabytes) fits in
// targetMegabytes, whichever is fewer.
constexpr std::uint32_t pointBudgetFor(double targetMilliseconds, double targetMegabytes, double nanosecondsPerPoint,
                                       double bytesPerPoint, double baseMegabytes)
{
    const double byTime = targetMilliseconds * 1e6 / nanosecondsPerPoint;
    const double byMemory = (targetMegabytes - baseMegabytes) * 1048576 / bytesPerPoint;
    return static_cast<std::uint32_t>(byTime < byMemory ? byTime : byMemory);
}

// Abstract subdivision scheme. A curve copies the shared control polygon
// into its own result list and refines that list in place (subdivide).
// render() runs both lazily, then draws: only while the polygon's dirty flag
// is set is the list rebuilt and refined, otherwise the cached result is
// drawn again. The settings are plain members; each curve keeps its own.
//
// The core does not draw: draw() hands the curve to the drawer that the
// drawing layer installs (setDrawer), and does nothing without one. The
// drawing layer keeps its layout of result in drawingCache, which is
// dropped whenever result changes (resultVersion tells it apart).
class Curve
{
public:
    // Largest number of points a subdivision may produce. A level or split
    // that would need more stops at the deepest result that still fits.
    // Chosen so that a drag step at the budget takes at most 300 ms and the
    // program at most 700 MB on a slow machine with software OpenGL, from
    // the costs measured there (see pointBudgetFor).
    static constexpr std::uint32_t pointBudget = pointBudgetFor(300, 700, 40, 90, 160);
    // Largest number of points this curve's subdivision may produce:
    // pointBudget, or the share of it that the scene gives the curve while
    // it draws several curves at once. At least 1.
    std::uint32_t pointLimit = pointBudget;

    // Draws a curve in whatever the drawing layer draws into at the time
    // (the current OpenGL context); installed once, never owned.
    using Drawer = void (*)(Curve &curve);
    static void setDrawer(Drawer drawer);

    // The drawing layer's own data about result, kept with the curve and
    // freed with it or with result.
    class DrawingCache
    {
    public:
        virtual ~DrawingCache() = default;
    };

    Curve(const Curve &) = delete;
    Curve &operator=(const Curve &) = delete;
    // Frees result and every point in it.
    virtual ~Curve();

    // Draws result through the installed drawer; nothing without one.
    virtual void draw();
    // Turns result, holding copies of the control points in order, into the
    // scheme's curve, in place; updates deltaArea, reachedLevel and limited.
    virtual void subdivide() = 0;

    // Per-repaint entry: nothing without a polygon of 3 or more points;
    // otherwise refresh(), then draw().
    void render();
    // The model half of render(): with a polygon of 3 or more points that
    // is dirty, rebuilds result (clearing the flag) and subdivides; true
    // when it did. Draws nothing.
    bool refresh();
    // Rebuilds result from the control points and subdivides, whatever the
    // dirty flag says, and leaves the flag as it is (for a curve made beside
    // the one that owns the flag). Nothing without a polygon of 3 or more
    // points; draws nothing.
    void resubdivide();
    // True when a drawing shows a curve: a polygon of 3 or more points, a
    // result, and a closed polygon where the scheme needs one (unless its
    // open ends are on).
    bool drawsCurve() const;
    // Frees every point of result with its node and the list, and the
    // memory that held them (given back to the system); result null.
    void clearResult();
    // While the polygon is dirty: replaces result by independent copies of
    // the control points and clears dirty. Does nothing when clean. The old
    // points' memory is reused, so a drag step at a high level touches no
    // fresh pages; refresh() trims what the new curve did not need.
    void rebuildResult();
    // True when result is a subdivision cut short by pointLimit that
    // level newLevel would give again exactly: the same passes would run
    // (newLevel is at least reachedLevel), so a level change to it need
    // not subdivide. Says nothing about a polygon changed since.
    bool keepsCappedResult(int newLevel) const;

    // Which scheme this is (never Schemes::None).
    Schemes::Id scheme() const { return id; }
    // The curve is an open polyline (the Bezier scheme, or a refining
    // scheme's curve of an open polygon with open ends), not a loop.
    bool drawnOpen() const { return id == Schemes::Bezier || openResult; }
    // The mask the scheme refines by at its current settings (the refining
    // schemes); empty for the Bezier scheme, which splits adaptively.
    virtual std::optional<Mask> mask() const { return std::nullopt; }

    // A run of result's points, first (0-based) and count; on a closed
    // loop it may run on past the last point round to the first.
    struct Span
    {
        std::uint64_t first = 0;
        std::uint64_t count = 0;
        bool operator==(const Span &) const = default;
    };
    // The points of result that control point index (0-based) moves, its
    // support: for a refining scheme the level's points whose weights
    // from it are not all zero by the mask's support (a level-k point i
    // in the mask's numbering takes point j by the k-pass mask, nonzero
    // for m^k j + f (m^k - 1) / (m - 1) <= i <= m^k j + l (m^k - 1) /
    // (m - 1), f and l its first and last nonzero coefficients); every
    // point for the Bezier scheme, whose every control point moves the
    // whole curve. Empty without a result or such a point.
    std::optional<Span> influence(std::size_t index) const;
    // Changes with every rebuild and every release of result, so that a
    // layout made from result can tell whether it still fits.
    std::uint64_t resultVersion() const { return version; }

    // The weight of a new point between two neighbours (the parameter u of
    // the proposed scheme). Stored without a range check: the view only replaces 0 and 1, and the
    // Bezier scheme keeps its own split parameter inside (0, 1).
    double u() const { return u_; }
    virtual void setU(double value) { u_ = value; }

    bool supportsDepthColour = false; // the depth-colour option applies
    bool depthColour = false;         // shade the curve by split depth (Bezier only)
    bool curvePoints = false;         // draw every generated point as a white dot
    bool usesPrecision = false;       // the precision setting applies
    bool usesLevel = false;           // the level setting applies
    bool closedOnly = false;          // draws nothing while the polygon is open (unless openEnds)
    bool openEnds = false;            // a refining scheme refines an open polygon too, its ends continued
    double precision = 0.2;           // longest accepted Bezier edge, world units
    int level = 0;                    // passes of a closed scheme; 0 draws the polygon
    // Area difference between control polygon and curve, signed like
    // ControlPoints::area(), so that area() - deltaArea is the curve's area.
    double deltaArea = 0.0;
    List<Point> *result = nullptr;             // owned, with its points (see points); null until rendered
    ControlPoints *controlPoints = nullptr;    // shared polygon, not owned
    // The drawing layer's layout of result (see DrawingCache); null until
    // something draws the curve, and again after clearResult().
    std::unique_ptr<DrawingCache> drawingCache;

    // Depth actually reached by the last subdivision that ran: the passes
    // run by a closed scheme (equal to level unless limited), the deepest
    // split made by the Bezier scheme.
    int reachedLevel = 0;
    // The last subdivision stopped short because of pointLimit.
    bool limited = false;
    // The last subdivision stopped short because its points would have
    // left MaskSubdivision::largestCoordinate: the mask diverges.
    bool diverged = false;
    // result is the open curve of an open polygon with open ends.
    bool openResult = false;
    // The mask's numbering (MaskSubdivision) of result's first point:
    // result's point i is the level's point firstMaskIndex + i, modulo
    // the loop's size when closed. The closed schemes' own passes turn
    // their loop against the mask's by passTurn() points a pass.
    std::int64_t firstMaskIndex = 0;

protected:
    // Stores controlPoints (not owned; may be null, then render() does
    // nothing) and the scheme, and sets the shared defaults.
    Curve(ControlPoints *controlPoints, Schemes::Id scheme);

    // The subdivision of the closed schemes: when the polygon is closed and
    // result holds 3 or more copies, resets deltaArea and calls
    // refine(passes) once, with passes = level, or fewer when a pass
    // multiplying the point count by growth would exceed pointLimit
    // (reachedLevel and limited tell); refine runs that many passes on
    // result. Returns true. Otherwise returns false and changes nothing.
    bool refineClosed(std::uint32_t growth, const std::function<void(int passes)> &refine);
    // The subdivision of a scheme's open polygon with open ends on: when
    // the polygon is open, openEnds is set, the scheme has a mask and
    // result holds 3 or more copies, refines them by the mask with the
    // ends continued (refineByMask) and returns true; otherwise returns
    // false and changes nothing.
    bool refineOpen();
    // Replaces the copies in result (3 or more) by level passes of mask()
    // over the closed loop or, closed false, the open polygon with its
    // ends continued (MaskSubdivision), within pointLimit, ghosts carried
    // along. Sets reachedLevel, limited, diverged, openResult and
    // firstMaskIndex; deltaArea is the polygon's area minus the final
    // loop's, 0 for an open curve (as for an open polygon's Bezier curve).
    // False, with nothing changed, without a mask or enough copies.
    bool refineByMask(bool closed);
    // Points by which the scheme's own closed pass turns the loop against
    // the mask's: the mask's point m s + passTurn() of the next level is
    // this scheme's point 0 when its point s was (0 for a scheme refined
    // by its mask itself).
    virtual std::int64_t passTurn() const { return 0; }

    // Link item directly after node, which must be a node of result. The
    // passes only insert beside the node they stand on, so the membership
    // walk of List's checked insertions (which would make a pass quadratic)
    // is not needed.
    void insertAfter(Node<Point> *node, Point *item)
    {
        // Inline: the Bezier split links every point it adds through here.
        Node<Point> *n = result->makeNode(item);
        n->prev = node;
        n->next = node->next;
        if (node->next)
            node->next->prev = n;
        else
            result->tail = n;
        node->next = n;
        result->cacheValid = false;
        ++result->count;
    }

    // Points of result come from this curve's storage and go back to it:
    // a copy, a combination (as combine()), and the release of one point
    // that is no longer in result. rebuildResult() takes them all back at
    // once for reuse; clearResult() frees their memory.
    Point *makePoint(const Point &copy) { return points.make(copy); }
    Point *makeCombined(const Point &a, const Point &b, double t)
    {
        Point *p = points.make();
        combineInto(*p, a, b, t);
        return p;
    }
    void releasePoint(Point *p) { points.release(p); }
    // The same storage, for a pass that writes a whole curve in one sweep.
    Pool<Point> &pointStorage() { return points; }

private:
    // Gives the memory of freed blocks back to the system.
    static void returnFreedMemory();
    // Replaces result by independent copies of the control points.
    void copyControlPoints();
    // Subdivides the fresh copies in result and gives back the memory the
    // new curve did not need.
    void subdivideCopies();

    Pool<Point> points;
    Schemes::Id id;
    std::uint64_t version = 0;
    double u_ = 0.5;
};
