#include "model/CurveNotes.h"
#include "model/TextFormat.h"

#include "analysis/MaskAnalysis.h"
#include "curves/BezierCurve.h"
#include "curves/Mask.h"
#include "curves/MaskSubdivision.h"
#include "curves/Schemes.h"
#include "curves/Curve.h"
#include "geometry/ControlPoints.h"

#include <cstdio>
#include <optional>

namespace {

// Why curve stopped short: "point budget", "a quarter of the point budget
// while comparing", "split work budget (N control points)".
std::string stopReason(const Curve &curve, const ControlPoints &polygon)
{
    const auto *bezier = dynamic_cast<const BezierCurve *>(&curve);
    if (bezier && bezier->workLimited)
        return textFormat("split work budget (%u control points)", static_cast<unsigned>(polygon.points.count));
    return curve.pointLimit < Curve::pointBudget ? CurveNotes::budgetShare(curve) + " while comparing"
                                                 : "point budget";
}

} // namespace

std::string CurveNotes::budgetShare(const Curve &curve)
{
    // Compared curves share the budget in quarters, a fifth each beyond
    // four.
    const std::uint32_t quarters = curve.pointLimit / (Curve::pointBudget / 4);
    return quarters == 0   ? "a fifth of the point budget"
           : quarters >= 3 ? "three quarters of the point budget"
           : quarters == 2 ? "half the point budget"
                           : "a quarter of the point budget";
}

std::string CurveNotes::reached(const Curve &curve, const ControlPoints &polygon)
{
    if (curve.diverged && curve.drawsCurve())
        return textFormat("reached %d: diverges", curve.reachedLevel);
    if (!curve.limited || !curve.drawsCurve())
        return {};
    return textFormat(curve.usesLevel ? "reached %d: %s" : "depth %d: %s", curve.reachedLevel,
                  stopReason(curve, polygon).c_str());
}

std::string CurveNotes::stoppedShort(const Curve &curve, const ControlPoints &polygon)
{
    // A level-driven scheme is only subdivided on a closed polygon or with
    // open ends; otherwise limited is left over from an earlier
    // subdivision.
    if ((curve.usesLevel && !(polygon.closed || curve.openEnds)) || !(curve.limited || curve.diverged) ||
        !curve.result)
        return {};
    if (curve.diverged)
        return textFormat("Level %d stopped at %d: the next pass could take points beyond %g world units (the scheme "
                      "diverges)",
                      curve.level, curve.reachedLevel, MaskSubdivision::largestCoordinate);
    if (curve.usesLevel)
        return textFormat("Level %d limited to %d (%u points", curve.level, curve.reachedLevel,
                      static_cast<unsigned>(curve.result->count)) +
               (curve.pointLimit < Curve::pointBudget ? ", " + budgetShare(curve) + " while comparing)" : ")");
    // The Bezier scheme, cut by the point budget or its split work.
    return textFormat("%s curve cut at depth %d: %s", Schemes::row(curve.scheme()).name, curve.reachedLevel,
                  stopReason(curve, polygon).c_str());
}

std::string CurveNotes::legendText(const Curve &curve, const ControlPoints &polygon)
{
    std::string text = Schemes::row(curve.scheme()).name;
    if (polygon.points.count > 2 && curve.closedOnly && !polygon.closed && !curve.openEnds)
        return text + " (needs a closed polygon)";
    std::string depth = reached(curve, polygon);
    if (depth.empty() && curve.usesLevel)
        depth = textFormat("level %d", curve.level);
    else if (depth.empty() && curve.drawsCurve())
        depth = textFormat("depth %d", curve.reachedLevel);
    // The custom mask has no weight u: its mask is what it is.
    if (curve.scheme() == Schemes::Custom)
        return depth.empty() ? text : text + " (" + depth + ")";
    return text + " (" + (depth.empty() ? "" : depth + ", ") + textFormat("u %.2f", curve.u()) + ")";
}

std::string CurveNotes::hint(const Curve &curve, const ControlPoints &polygon)
{
    const std::string name = Schemes::row(curve.scheme()).name;
    const bool needsClosing = curve.closedOnly && !polygon.closed && !curve.openEnds;
    if (polygon.points.count < 3)
        return needsClosing ? name + " refines closed polygons of 3 points or more: click to add points, and tick "
                                     "Closed Curve"
                            : name + " needs 3 control points or more: click in the view to add them";
    if (needsClosing)
        return name + " refines closed polygons: tick Closed Curve";
    return warning(curve);
}

std::string CurveNotes::warning(const Curve &curve)
{
    // The custom scheme's u says nothing of its mask: the mask itself is
    // what was analysed.
    const std::optional<Mask> mask = curve.mask();
    if (!mask)
        return {};
    if (curve.scheme() == analysedScheme && mask->arity() == analysedArity &&
        mask->coefficients() == analysedCoefficients)
        return analysedWarning;
    analysedScheme = curve.scheme();
    analysedArity = mask->arity();
    analysedCoefficients = mask->coefficients();
    analysedWarning.clear();
    // Without a bound of the regularity above 0 the limits cannot even be
    // continuous: the levels do not settle on a curve.
    const char *name = Schemes::row(curve.scheme()).name;
    const bool custom = curve.scheme() == Schemes::Custom;
    const std::string where = custom ? std::string(name) : textFormat("%s at u = %.2f", name, curve.u());
    if (!MaskAnalysis::of(*mask).regularity)
        analysedWarning = custom ? where + " diverges: its levels settle on no curve"
                                 : textFormat("%s diverges at u = %.2f: its levels settle on no curve", name, curve.u());
    else if (!MaskAnalysis::provesConvergence(*mask))
        analysedWarning = where + ": convergence not proven";
    return analysedWarning;
}
