#pragma once

#include <string>

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
    // each scheme and u in a row.
    std::string hint(const Curve &curve, const ControlPoints &polygon);

private:
    // The warning for the mask of scheme at u.
    std::string warning(const Curve &curve);

    int analysedScheme = 0;
    double analysedU = 0.0;
    std::string analysedWarning;
};
