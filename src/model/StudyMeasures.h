#pragma once

#include "analysis/ConvergenceSeries.h"
#include "analysis/LimitCurve.h"
#include "analysis/SubdivisionPasses.h"

#include <cstdint>
#include <memory>

class Curve;

// What the study measures of the selected scheme while its switches are
// on: the polygons of its passes (Show Passes), its closed-form limit and
// the convergence series towards it (Show Limit). The scene says when they
// no longer fit (outdated: the polygon, the selection or a setting
// changed) and remakes them in its update; the series, which takes
// longer, is measured when asked for.
class StudyMeasures
{
public:
    // Most points that the pass polygons copy: some tens of milliseconds
    // per update at most; deeper levels look like the curve anyway.
    static constexpr std::uint64_t passPointBound = std::uint64_t{1} << 18;

    // Show Passes and Show Limit; off frees what they made.
    void showPasses(bool on);
    void showLimit(bool on);
    // The selected curve, its polygon or its settings changed.
    void outdated() { passesStale = limitStale = seriesStale = true; }
    // Something shown is to be remade by update().
    bool stale() const { return (passesShown && passesStale) || (limitShown && limitStale); }
    // Remakes what is shown and stale from selected (null: none selected);
    // true when it remade something.
    bool update(const Curve *selected);

    // The passes and the limit as last made; null when not shown, not
    // known or without a scheme.
    const SubdivisionPasses *passes() const { return madePasses.get(); }
    const LimitCurve *limit() const { return madeLimit.get(); }
    // The series no longer fits (the limit is shown and the curve changed
    // since it was last measured).
    bool seriesOutdated() const { return limitShown && seriesStale; }
    // Measures selected's series within work (ConvergenceSeries::measure);
    // empty without a selected curve. The series counts as measured.
    ConvergenceSeries measure(const Curve *selected, std::uint64_t work);

private:
    bool passesShown = false;
    bool limitShown = false;
    bool passesStale = true;
    bool limitStale = true;
    bool seriesStale = true;
    std::unique_ptr<SubdivisionPasses> madePasses;
    std::unique_ptr<LimitCurve> madeLimit;
};
