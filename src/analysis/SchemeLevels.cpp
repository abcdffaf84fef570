#include "analysis/SchemeLevels.h"

#include "curves/BezierCurve.h"

#include <limits>

SchemeLevels::SchemeLevels(const SchemeSetup &setup) : setup(setup)
{
    for (const Vector &p : setup.polygon)
        control.insertPoint(p);
    control.closed = setup.closed;
    curve = setup.makeCurve(&control);
}

SchemeLevels::~SchemeLevels() = default;

SchemeLevels::Level SchemeLevels::run(int level, double precision, int maxDepth)
{
    curve->level = level;
    curve->precision = precision;
    if (auto *bezier = dynamic_cast<BezierCurve *>(curve.get()))
        bezier->maxDepth = maxDepth;
    curve->limited = false;
    curve->reachedLevel = 0;
    control.dirty = true;
    curve->rebuildResult();
    curve->subdivide();
    Level out;
    out.points.reserve(curve->result->count);
    for (const Node<Point> *n = curve->result->head; n; n = n->next)
        out.points.push_back(n->item->position);
    out.reached = curve->reachedLevel;
    out.limited = curve->limited;
    out.firstMaskIndex = curve->firstMaskIndex;
    // Keep no memory for the next, usually larger, level than it needs.
    curve->result->trimStorage();
    return out;
}

SchemeLevels::Level SchemeLevels::make(int j)
{
    if (setup.refines())
        return run(j, setup.precision, 0);
    Level out = run(0, 0.0, j);
    // Every split of a uniform split reaches depth j unless the budget
    // stopped it.
    out.reached = out.limited ? out.reached : j;
    return out;
}

SchemeLevels::Level SchemeLevels::adaptive()
{
    if (setup.refines())
        return {};
    Level out = run(0, setup.precision, std::numeric_limits<int>::max());
    out.points.clear();
    out.points.shrink_to_fit();
    return out;
}

std::uint64_t SchemeLevels::pointCount(int j) const
{
    std::uint64_t n = setup.polygon.size();
    if (setup.refines()) {
        if (!setup.draws())
            return n;
        for (int k = 0; k < j; ++k) {
            if (n > std::numeric_limits<std::uint64_t>::max() / (2 * setup.growth()))
                return std::numeric_limits<std::uint64_t>::max();
            n *= setup.growth();
        }
        return setup.levelSize(j);
    }
    const std::uint64_t m = setup.closed ? n + 1 : n;
    if (m < 2)
        return m;
    return j >= 40 ? std::numeric_limits<std::uint64_t>::max() : ((std::uint64_t{1} << j) * (m - 1) + 1);
}
