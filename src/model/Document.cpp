#include "model/Document.h"

#include <algorithm>
#include <cmath>

namespace {

// The slider position in first..last whose stored value (from stored) is
// nearest to value. Stored values grow with the position, so only the
// positions around the plain rounding can be nearest.
template <typename Stored>
double nearestStored(double value, double scale, int first, int last, Stored stored)
{
    const long rounded = std::lround(value * scale);
    double best = stored(static_cast<int>(std::clamp<long>(rounded, first, last)));
    for (long p = rounded - 1; p <= rounded + 1; ++p) {
        if (p < first || p > last)
            continue;
        const double candidate = stored(static_cast<int>(p));
        if (std::abs(candidate - value) < std::abs(best - value))
            best = candidate;
    }
    return best;
}

} // namespace

Document::Document()
{
    settings(2).u = 0.75; // Chaikin's own default weight
}

double Document::uFromSlider(int hundredths)
{
    double u = hundredths * 0.01;
    if (u == 0.0)
        u = 0.01;
    else if (u == 1.0)
        u = 0.99;
    return u;
}

double Document::precisionFromSlider(int tenths)
{
    const double precision = tenths * 0.1;
    return precision == 0.0 ? 0.05 : precision;
}

double Document::nearestU(double u)
{
    return nearestStored(u, 100.0, -100, 100, uFromSlider);
}

double Document::nearestPrecision(double precision)
{
    return nearestStored(precision, 10.0, 0, 100, precisionFromSlider);
}
