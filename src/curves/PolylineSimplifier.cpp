#include "curves/PolylineSimplifier.h"

#include <cmath>

// How a run is merged. The run starts at the anchor, the last kept vertex.
// Vertices within halfWidth (half the tolerance) of the anchor join it
// whatever their direction; the first vertex beyond fixes the run's
// direction d. A later vertex v joins while its distance from the line
// through the anchor along d, |cross(d, v - anchor)|, is at most
// halfWidth; its position along the line, dot(d, v - anchor), may run
// ahead or double back. When a vertex leaves that strip (or the grey
// changes, or the line ends) the run is replaced by the vertex farthest
// ahead, the vertex farthest behind the anchor (if any doubled back) and
// the run's last vertex, which becomes the next anchor and so joins the
// run to whatever follows exactly.
//
// Why the tolerance holds: the run's vertices, and so its segments, lie in
// the strip (or the disc around the anchor, inside it) and cover positions
// along the line from the farthest behind to the farthest ahead. The
// replacement segments lie in the same strip and, passing through both
// extremes from the anchor, cover the same positions continuously. A point
// of either line therefore has a point of the other at the same position
// along d whose distance across is at most 2 * halfWidth = tolerance (the
// disc adds at most halfWidth * sqrt(2) near the anchor).

void PolylineSimplifier::begin(double tolerance, bool greys, bool dots)
{
    halfWidth = tolerance > 0 ? tolerance / 2 : 0;
    withGreys = greys;
    withDots = dots;
    started = false;
    runLength = 0;
    haveDirection = false;
    nextIndex = 0;
    kept.clear();
    keptGreys.clear();
    keptDots.clear();
}

void PolylineSimplifier::release()
{
    kept = {};
    keptGreys = {};
    keptDots = {};
}

void PolylineSimplifier::add(double x, double y, float grey)
{
    const Vertex v{x, y, withGreys ? grey : 0.0f, nextIndex++};
    if (withDots)
        thinDot(v);
    if (!started) {
        started = true;
        first = anchor = v;
        push(v);
        return;
    }
    follow(v);
}

void PolylineSimplifier::follow(const Vertex &v)
{
    if (v.grey != anchor.grey) {
        // Both ends of a change of grey stay: the colour interpolated
        // along the segment between them is the original one.
        flushRun();
        push(v);
        anchor = v;
        return;
    }
    const double ex = v.x - anchor.x, ey = v.y - anchor.y;
    if (!haveDirection) {
        const double length = std::hypot(ex, ey);
        if (length > halfWidth) {
            haveDirection = true;
            dx = ex / length;
            dy = ey / length;
            ahead = length;
            behind = 0;
            farthestAhead = v;
        }
        ++runLength;
        last = v;
        return;
    }
    const double along = ex * dx + ey * dy;
    const double across = ex * dy - ey * dx;
    if (std::abs(across) > halfWidth) {
        flushRun();
        follow(v); // starts the next run at the new anchor
        return;
    }
    if (along > ahead) {
        ahead = along;
        farthestAhead = v;
    } else if (along < behind) {
        behind = along;
        farthestBehind = v;
    }
    ++runLength;
    last = v;
}

void PolylineSimplifier::flushRun()
{
    if (runLength == 0)
        return;
    if (haveDirection) {
        // The extremes in input order, unless one is the last vertex,
        // which follows anyway.
        const bool aheadKept = farthestAhead.index != last.index;
        const bool behindKept = behind < 0 && farthestBehind.index != last.index;
        if (behindKept && aheadKept && farthestBehind.index < farthestAhead.index) {
            push(farthestBehind);
            push(farthestAhead);
        } else {
            if (aheadKept)
                push(farthestAhead);
            if (behindKept)
                push(farthestBehind);
        }
    }
    push(last);
    anchor = last;
    runLength = 0;
    haveDirection = false;
}

void PolylineSimplifier::finish(bool closed)
{
    if (!started)
        return;
    if (closed) {
        // The closing edge is simplified like any other: the first vertex
        // comes again and ends the last run; its repeat is then dropped,
        // as the loop closes by itself.
        Vertex again = first;
        again.index = nextIndex++;
        follow(again);
        flushRun();
        if (size() > 1) {
            kept.resize(kept.size() - 2);
            if (withGreys)
                keptGreys.pop_back();
        }
    } else {
        flushRun();
    }
    started = false;
}

void PolylineSimplifier::push(const Vertex &v)
{
    kept.push_back(static_cast<float>(v.x));
    kept.push_back(static_cast<float>(v.y));
    if (withGreys)
        keptGreys.push_back(v.grey);
}

void PolylineSimplifier::thinDot(const Vertex &v)
{
    // A dot is drawn over the dots near it; one within the tolerance of the
    // last kept dot adds nothing visible.
    const double ex = v.x - lastDot.x, ey = v.y - lastDot.y;
    if (!keptDots.empty() && ex * ex + ey * ey <= 4 * halfWidth * halfWidth)
        return;
    keptDots.push_back(static_cast<float>(v.x));
    keptDots.push_back(static_cast<float>(v.y));
    lastDot = v;
}
