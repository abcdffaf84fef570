#include "analysis/SubdivisionPasses.h"

#include "analysis/SchemeLevels.h"

SubdivisionPasses::Role SubdivisionPasses::roleOf(const Mask &mask, std::int64_t maskIndex)
{
    const std::vector<double> &a = mask.coefficients();
    const auto m = std::int64_t(mask.arity());
    const auto r = std::size_t(((maskIndex % m) + m) % m);
    std::size_t first = a.size(), last = 0;
    for (std::size_t k = r; k < a.size(); k += std::size_t(m)) {
        if (a[k] == 0.0)
            continue;
        first = std::min(first, k);
        last = k;
    }
    const bool centred = first <= last && ((last - first) / std::size_t(m)) % 2 == 0;
    return centred ? Role::Moved : Role::Inserted;
}

SubdivisionPasses::Role SubdivisionPasses::roleIn(const Curve &curve, std::size_t index)
{
    const std::optional<Mask> mask = curve.mask();
    if (!mask || curve.reachedLevel == 0)
        return Role::Inserted;
    return roleOf(*mask, curve.firstMaskIndex + std::int64_t(index));
}

SubdivisionPasses SubdivisionPasses::make(const SchemeSetup &setup, std::uint64_t pointBound)
{
    SubdivisionPasses passes;
    if (!setup.refines() || !setup.draws())
        return passes;
    passes.level = setup.reachableLevel();
    passes.limited = passes.level < setup.level;
    SchemeLevels levels(setup);
    std::uint64_t kept = 0;
    std::int64_t first = 0; // the mask's numbering of the last level's first point
    for (int j = 0; j <= passes.level; ++j) {
        const std::uint64_t count = levels.pointCount(j);
        if (count > pointBound - kept) {
            passes.bounded = true;
            break;
        }
        kept += count;
        SchemeLevels::Level made = levels.make(j);
        if (made.reached < j) {
            // A diverging mask stops where the curve stops: its last
            // level is the one before.
            passes.level = j - 1;
            passes.limited = true;
            passes.last = passes.polygons.back();
            passes.polygons.pop_back();
            break;
        }
        first = made.firstMaskIndex;
        if (j < passes.level)
            passes.polygons.push_back(std::move(made.points));
        else
            passes.last = std::move(made.points);
    }
    if (!passes.bounded && passes.level > 0) {
        const Mask mask = *setup.mask();
        passes.roles.resize(passes.last.size());
        for (std::size_t i = 0; i < passes.last.size(); ++i)
            passes.roles[i] = roleOf(mask, first + std::int64_t(i));
    }
    return passes;
}
