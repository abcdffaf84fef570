#include "analysis/SubdivisionPasses.h"

#include "analysis/SchemeLevels.h"

SubdivisionPasses::Role SubdivisionPasses::roleAt(int scheme, std::size_t index)
{
    switch (scheme) {
    case SchemeSetup::BSpline: return index % 2 == 0 ? Role::Moved : Role::Inserted;
    case SchemeSetup::Proposed: return index % 3 == 1 ? Role::Moved : Role::Inserted;
    default: return Role::Inserted;
    }
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
    for (int j = 0; j <= passes.level; ++j) {
        const std::uint64_t count = levels.pointCount(j);
        if (count > pointBound - kept) {
            passes.bounded = true;
            break;
        }
        kept += count;
        std::vector<Vector> points = levels.make(j).points;
        if (j < passes.level)
            passes.polygons.push_back(std::move(points));
        else
            passes.last = std::move(points);
    }
    if (!passes.bounded && passes.level > 0) {
        passes.roles.resize(passes.last.size());
        for (std::size_t i = 0; i < passes.last.size(); ++i)
            passes.roles[i] = roleAt(setup.scheme, i);
    }
    return passes;
}
