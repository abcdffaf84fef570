#include "analysis/RegularitySweep.h"

#include "analysis/MaskAnalysis.h"

#include <utility>

RegularitySweep::RegularitySweep(std::function<Mask(double)> maskAt, double low, double high, int count)
    : maskAt(std::move(maskAt)), low(low), high(high), values(count < 2 ? 2 : count)
{
}

double RegularitySweep::weight(int i) const
{
    // The last value is high itself, not a sum that falls short of it.
    return i >= values - 1 ? high : low + (high - low) * double(i) / double(values - 1);
}

RegularitySweep::Sample RegularitySweep::at(int i) const
{
    Sample sample;
    sample.weight = weight(i);
    const MaskAnalysis analysis = MaskAnalysis::of(maskAt(sample.weight));
    sample.smoothness = analysis.smoothness;
    if (analysis.regularity) {
        sample.lower = analysis.regularity->lower;
        sample.upper = analysis.regularity->upper;
    }
    return sample;
}
