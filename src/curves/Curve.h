#pragma once

#include <cstdint>
#include <functional>

#include "geometry/ControlPoints.h"
#include "geometry/List.h"
#include "geometry/Point.h"
#include "geometry/Pool.h"
#include "curves/CurveVertices.h"

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
// into its own result list, refines that list in place (subdivide) and draws
// it (draw). render() runs the three steps lazily: only while the polygon's
// dirty flag is set is the list rebuilt and refined, otherwise the cached
// result is drawn again. The settings are plain members written by the view
// and read back by the control panel; each curve keeps its own.
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
    // pointBudget, or the share of it that the view gives the curve while
    // it draws several curves at once. At least 1.
    std::uint32_t pointLimit = pointBudget;

    // Largest distance, in device pixels, between the curve drawn on
    // screen and the exact one: runs of vertices that stay this close to
    // a line are drawn as one segment.
    static constexpr double displayTolerance = 1.0 / 9.0;

    // Stores controlPoints (not owned; may be null, then render() does
    // nothing) and sets the shared defaults.
    explicit Curve(ControlPoints *controlPoints);
    Curve(const Curve &) = delete;
    Curve &operator=(const Curve &) = delete;
    // Frees result and every point in it.
    virtual ~Curve();

    // Draws result with OpenGL in the current modelview matrix.
    virtual void draw() = 0;
    // Turns result, holding copies of the control points in order, into the
    // scheme's curve, in place; updates deltaArea, reachedLevel and limited.
    virtual void subdivide() = 0;

    // Per-repaint entry: nothing without a polygon of 3 or more points;
    // rebuilds and subdivides only while the polygon is dirty; then draws.
    void render();
    // For a curve drawn beside the selected one, which owns the dirty flag:
    // rebuilds result from the control points and subdivides, whatever the
    // flag says, and leaves the flag as it is. Nothing without a polygon of
    // 3 or more points; draws nothing.
    void resubdivide();
    // The curve alone in the current colour at width (device pixels),
    // smoothed: no ghost, no points, no depth shading; laid out like the
    // curve itself (simplified on screen). Nothing when drawsCurve() is
    // false. Leaves the line width at 1.
    void drawOutline(float width);
    // True when render() draws a curve: a polygon of 3 or more points, a
    // result, and a closed polygon where the scheme needs one.
    bool drawsCurve() const;
    // Frees every point of result with its node and the list, and the
    // memory that held them (given back to the system); result null.
    void clearResult();
    // While the polygon is dirty: replaces result by independent copies of
    // the control points and clears dirty. Does nothing when clean. The old
    // points' memory is reused, so a drag step at a high level touches no
    // fresh pages; render() trims what the new curve did not need.
    void rebuildResult();
    // True when result is a subdivision cut short by pointLimit that
    // level newLevel would give again exactly: the same passes would run
    // (newLevel is at least reachedLevel), so a level change to it need
    // not subdivide. Says nothing about a polygon changed since.
    bool keepsCappedResult(int newLevel) const;

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
    bool closedOnly = false;          // draws nothing while the polygon is open
    double precision = 0.2;           // longest accepted Bezier edge, world units
    int level = 0;                    // passes of a closed scheme; 0 draws the polygon
    // Area difference between control polygon and curve, signed like
    // ControlPoints::area(), so that area() - deltaArea is the curve's area.
    double deltaArea = 0.0;
    List<Point> *result = nullptr;             // owned, with its points (see points); null until rendered
    ControlPoints *controlPoints = nullptr;    // shared polygon, not owned
    // World units per device pixel of the view that shows the curve, set
    // by the view whenever its size (or scale) changes; the on-screen
    // drawing is simplified within displayTolerance pixels of it. 0 draws
    // every vertex on screen too.
    double displayScale = 0.0;
    // Feedback mode (the export): a curve of more than printSegmentLimit
    // segments is issued simplified within printTolerance world units when
    // that is above 0; otherwise the full sequence of segments, always.
    double printTolerance = 0.0;
    // More segments than a page can show: about the most an export writes
    // in a few seconds and tens of megabytes.
    static constexpr std::uint32_t printSegmentLimit = 250000;
    // True when result has more than printSegmentLimit segments, so that
    // a printTolerance applies to it.
    bool printsSimplified() const { return result && result->count > printSegmentLimit; }

    // Depth actually reached by the last subdivision that ran: the passes
    // run by a closed scheme (equal to level unless limited), the deepest
    // split made by the Bezier scheme.
    int reachedLevel = 0;
    // The last subdivision stopped short because of pointLimit.
    bool limited = false;

protected:
    // The drawing of the closed schemes: nothing for an open polygon, else
    // the GL state frame around drawGhost() and drawCurve().
    void drawClosed();
    // Grey loop through the ghosts (positions where there is none).
    void drawGhost();
    // The curve loop in the curve colour, then the optional white points.
    void drawCurve();
    // Enables smoothing and blending for the curve; endFrame() undoes it.
    static void beginFrame();
    static void endFrame();
    // With curvePoints set: every point of result as a white dot, size 2.
    void drawCurvePoints();
    // result laid out for drawing (with the depth greys when shades is
    // set), from the arrays of an earlier paint while result is unchanged:
    // simplified on screen (displayScale) or in feedback mode with a
    // printTolerance, the full sequence otherwise.
    const CurveVertices &layout(bool shades);
    // The curve is an open polyline (the Bezier scheme), not a loop.
    bool drawnOpen = false;
    // A point's ghost when it has one, else its position.
    static const Vector &ghostOf(const Point &p) { return p.hasGhost ? p.ghost : p.position; }

    // The subdivision of the closed schemes: when the polygon is closed and
    // result holds 3 or more copies, resets deltaArea and calls
    // refine(passes) once, with passes = level, or fewer when a pass
    // multiplying the point count by growth would exceed pointLimit
    // (reachedLevel and limited tell); refine runs that many passes on
    // result. Returns true. Otherwise returns false and changes nothing.
    bool refineClosed(std::uint32_t growth, const std::function<void(int passes)> &refine);

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
    CurveVertices vertices;
    // result changed since the full arrays or the simplified ones were laid
    // out: set by rebuildResult() and clearResult(), which every change of
    // result follows. The simplified ones also depend on their tolerance.
    bool verticesStale = true;
    bool simplifiedStale = true;
    double simplifiedTolerance = 0.0;
    double u_ = 0.5;
};
