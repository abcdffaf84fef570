#include "model/StudyMeasures.h"

#include "analysis/SchemeSetup.h"

void StudyMeasures::showPasses(bool on)
{
    passesShown = on;
    passesStale = true;
    if (!on)
        madePasses.reset();
}

void StudyMeasures::showLimit(bool on)
{
    limitShown = on;
    limitStale = seriesStale = true;
    if (!on)
        madeLimit.reset();
}

bool StudyMeasures::update(const Curve *selected)
{
    bool remade = false;
    if (passesShown && passesStale) {
        passesStale = false;
        madePasses.reset();
        if (selected)
            madePasses = std::make_unique<SubdivisionPasses>(
                SubdivisionPasses::make(SchemeSetup::of(*selected), passPointBound));
        remade = true;
    }
    if (limitShown && limitStale) {
        limitStale = false;
        madeLimit.reset();
        if (selected) {
            const SchemeSetup setup = SchemeSetup::of(*selected);
            if (setup.draws())
                madeLimit = setup.limit();
        }
        remade = true;
    }
    return remade;
}

ConvergenceSeries StudyMeasures::measure(const Curve *selected, std::uint64_t work)
{
    seriesStale = false;
    if (!selected)
        return {};
    return ConvergenceSeries::measure(SchemeSetup::of(*selected), work);
}
