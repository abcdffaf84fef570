#include "curves/Curve.h"

#include "curves/MaskSubdivision.h"

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

Curve::Drawer installedDrawer = nullptr;

} // namespace

Curve::Curve(ControlPoints *controlPoints, Schemes::Id scheme) : controlPoints(controlPoints), id(scheme) {}

void Curve::setDrawer(Drawer drawer)
{
    installedDrawer = drawer;
}

void Curve::draw()
{
    if (installedDrawer)
        installedDrawer(*this);
}

Curve::~Curve()
{
    clearResult();
}

void Curve::render()
{
    if (!controlPoints || controlPoints->points.count <= 2)
        return;
    refresh();
    draw();
}

bool Curve::refresh()
{
    if (!controlPoints || controlPoints->points.count <= 2 || !controlPoints->dirty)
        return false;
    rebuildResult();
    subdivideCopies();
    return true;
}

void Curve::resubdivide()
{
    if (!controlPoints || controlPoints->points.count <= 2)
        return;
    copyControlPoints();
    subdivideCopies();
}

void Curve::subdivideCopies()
{
    subdivide();
    const bool nodesFreed = result->trimStorage();
    if (points.trim() || nodesFreed)
        returnFreedMemory();
}

bool Curve::drawsCurve() const
{
    return controlPoints && controlPoints->points.count > 2 && result &&
           (controlPoints->closed || !closedOnly || openEnds);
}

void Curve::clearResult()
{
    if (!result)
        return;
    points.clear();
    points.trim();
    delete result; // the list frees its nodes
    result = nullptr;
    drawingCache.reset();
    ++version;
    returnFreedMemory();
}

void Curve::returnFreedMemory()
{
    // glibc keeps freed blocks in its heap for the next allocations unless
    // they were mapped on their own, which its adaptive threshold stops
    // doing for blocks of the pools' size once one was freed; without this
    // a curve that shrank would hold the memory of the largest one.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

bool Curve::keepsCappedResult(int newLevel) const
{
    return result && usesLevel && limited && newLevel >= reachedLevel;
}

void Curve::rebuildResult()
{
    if (!controlPoints || !controlPoints->dirty)
        return;
    copyControlPoints();
    controlPoints->dirty = false;
}

void Curve::copyControlPoints()
{
    if (result)
        result->releaseNodes();
    else
        result = new List<Point>;
    points.clear();
    for (const Node<Point> *n = controlPoints->points.head; n; n = n->next) {
        result->append(makePoint(*n->item), 0); // reports a missing point itself
    }
    ++version;
}

// The point budget's figures (pointBudget in Curve.h), measured with
// scripts/bench.sh on a 2-core machine under Mesa's software OpenGL, for a
// 6-point polygon at the budget: a drag step costs 37 to 40 ns per point
// (subdivision 20 to 25 ns, the rest the simplified layout and drawing;
// the slowest scheme per point is the cubic B-spline), and the program
// grows by 87 bytes per point (a Point of 64 bytes then, its node of 24)
// over about 145 MB for the window, Qt and the renderer. With some
// margin, 40 ns, 90 bytes and 160 MB: 300 ms allow 7.5 million points,
// 700 MB allow 6.29 million, so memory sets the budget. The figures are
// upper bounds now: a Point holds 56 bytes (80 per point with its node),
// and the closed schemes subdivide at 8 to 10 ns per point.

bool Curve::refineClosed(std::uint32_t growth, const std::function<void(int passes)> &refine)
{
    if (!result || result->count < 3 || !controlPoints || !controlPoints->closed)
        return false;
    deltaArea = 0.0;
    // Every level that fits is run exactly; the first that would not fit
    // is where the subdivision stops.
    const int wanted = std::max(level, 0);
    std::uint64_t size = result->count;
    int passes = 0;
    while (passes < wanted && size * growth <= pointLimit) {
        size *= growth;
        ++passes;
    }
    limited = passes < wanted;
    diverged = false;
    openResult = false;
    reachedLevel = passes;
    // The loop's own turn against the mask's, pass by pass, within its size.
    std::uint64_t turn = 0;
    for (std::uint64_t k = 0, loop = result->count; k < std::uint64_t(passes); ++k) {
        loop *= growth;
        turn = (turn * growth + std::uint64_t(passTurn())) % loop;
    }
    firstMaskIndex = std::int64_t(turn);
    refine(passes);
    return true;
}

bool Curve::refineOpen()
{
    if (!controlPoints || controlPoints->closed || !openEnds)
        return false;
    return refineByMask(false);
}

bool Curve::refineByMask(bool closed)
{
    const std::optional<Mask> rule = mask();
    if (!rule || !result || result->count < 3)
        return false;
    std::vector<Vector> positions, ghosts;
    std::vector<std::uint8_t> flags;
    positions.reserve(result->count);
    bool ghosted = false;
    for (const Node<Point> *n = result->head; n; n = n->next)
        ghosted = ghosted || n->item->hasGhost;
    for (const Node<Point> *n = result->head; n; n = n->next) {
        const Point &p = *n->item;
        positions.push_back(p.position);
        if (ghosted) {
            ghosts.push_back(p.hasGhost ? p.ghost : p.position);
            flags.push_back(p.hasGhost ? 1 : 0);
        }
    }
    const double polygonArea = closed ? fanArea(*result) : 0.0;
    result->releaseNodes();
    points.clear();

    // The loop's fan from its first point, summed as fanArea() sums it.
    double loopArea = 0.0;
    Vector first, previous;
    std::uint64_t index = 0;
    const MaskSubdivision::Outcome outcome = MaskSubdivision(*rule).run(
        positions, ghosts, flags, closed, level, pointLimit, [&](const MaskSubdivision::Chunk &chunk) {
            for (std::size_t k = 0; k < chunk.positions.size(); ++k, ++index) {
                Point *p = points.make(chunk.positions[k]);
                if (!chunk.flags.empty() && chunk.flags[k]) {
                    p->hasGhost = true;
                    p->ghost = chunk.ghosts[k];
                }
                result->append(p, 0);
                const Vector &q = p->position;
                if (index >= 2)
                    loopArea += signedArea(first, q, previous);
                else if (index == 0)
                    first = q;
                previous = q;
            }
        });
    reachedLevel = outcome.reached;
    limited = outcome.limited;
    diverged = outcome.diverged;
    openResult = !closed;
    firstMaskIndex = outcome.written.first;
    deltaArea = closed ? polygonArea - loopArea : 0.0;
    return true;
}

std::optional<Curve::Span> Curve::influence(std::size_t index) const
{
    if (!result || !controlPoints || index >= controlPoints->points.count)
        return std::nullopt;
    const std::uint64_t size = result->count;
    const std::optional<Mask> rule = mask();
    if (!rule)
        return Span{0, size};
    const std::vector<double> &a = rule->coefficients();
    std::size_t f = 0, l = a.size() - 1;
    while (f < l && a[f] == 0.0)
        ++f;
    while (l > f && a[l] == 0.0)
        --l;
    const auto m = std::int64_t(rule->arity());
    std::int64_t scale = 1;
    for (int k = 0; k < reachedLevel; ++k)
        scale *= m;
    const std::int64_t spread = (scale - 1) / (m - 1);
    const std::int64_t low = scale * std::int64_t(index) + std::int64_t(f) * spread - firstMaskIndex;
    const std::int64_t high = scale * std::int64_t(index) + std::int64_t(l) * spread - firstMaskIndex;
    if (!openResult) {
        const auto loop = std::int64_t(size);
        return Span{std::uint64_t(((low % loop) + loop) % loop), std::min(std::uint64_t(high - low + 1), size)};
    }
    const std::int64_t from = std::max<std::int64_t>(low, 0);
    const std::int64_t to = std::min<std::int64_t>(high, std::int64_t(size) - 1);
    return to >= from ? Span{std::uint64_t(from), std::uint64_t(to - from + 1)} : Span{std::uint64_t(from), 0};
}
