#include "model/CurveNotes.h"

#include "analysis/MaskAnalysis.h"
#include "curves/Mask.h"
#include "curves/Schemes.h"
#include "curves/Curve.h"
#include "geometry/ControlPoints.h"

#include <cstdio>
#include <optional>

namespace {

template <typename... Args> std::string format(const char *pattern, Args... args)
{
    char text[160];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

} // namespace

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
    const std::string where = custom ? std::string(name) : format("%s at u = %.2f", name, curve.u());
    if (!MaskAnalysis::of(*mask).regularity)
        analysedWarning = custom ? where + " diverges: its levels settle on no curve"
                                 : format("%s diverges at u = %.2f: its levels settle on no curve", name, curve.u());
    else if (!MaskAnalysis::provesConvergence(*mask))
        analysedWarning = where + ": convergence not proven";
    return analysedWarning;
}
