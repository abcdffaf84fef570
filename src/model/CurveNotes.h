#pragma once

#include <string>
#include <vector>

class ControlPoints;
class Curve;

// The words the read-outs, the status bar and the legend share about a
// curve beside its figures: why it draws nothing ("Chaikin refines closed
// polygons: tick Closed Curve"), that its u makes the scheme diverge, or
// that its convergence is not proven there (from the analysis of the
// scheme's mask; the Bezier scheme has no mask and is never warned about),
// and where its subdivision stopped short ("reached 19: point budget").
class CurveNotes
{
public:
    // The share-of-budget words for messages ("half the point budget").
    static std::string budgetShare(const Curve &curve);
    // Where curve's last subdivision stopped short of its level (refining
    // schemes: "reached 19: point budget", "... : a quarter of the point
    // budget while comparing", "reached 7: diverges") or of its precision
    // (Bezier: "depth 12: point budget"); empty when it did not or draws
    // nothing from polygon.
    static std::string reached(const Curve &curve, const ControlPoints &polygon);
    // The message that says where curve stopped short ("Level 99 limited
    // to 19 (3670016 points)", "Bezier curve cut at depth 0: split work
    // budget ..."); empty when it did not.
    static std::string stoppedShort(const Curve &curve, const ControlPoints &polygon);
    // The legend's words for curve: its name, level (or where it stopped)
    // and u, or that it needs a closed polygon.
    static std::string legendText(const Curve &curve, const ControlPoints &polygon);

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
