#pragma once

#include <string>
#include <vector>

class ControlPoints;
class Curve;

// The words the read-outs, the status bar and the legend share about a
// curve beside its figures: why it draws nothing ("Chaikin refines closed
// polygons: tick Closed Curve"), and that its u makes the scheme diverge,
// or that its convergence is not proven there (from the analysis of the
// scheme's mask; the Bezier scheme has no mask and is never warned about).
class CurveNotes
{
public:
    // Why curve, drawn from polygon, draws nothing; else the warning about
    // its u; empty when there is neither. The mask is analysed once for
    // each scheme and mask in a row.
    std::string hint(const Curve &curve, const ControlPoints &polygon);

private:
    // The warning for curve's mask at its settings.
    std::string warning(const Curve &curve);

    int analysedScheme = 0;
    int analysedArity = 0;
    std::vector<double> analysedCoefficients;
    std::string analysedWarning;
};
