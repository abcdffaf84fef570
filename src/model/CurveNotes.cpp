#include "model/CurveNotes.h"

#include "analysis/MaskAnalysis.h"
#include "analysis/SchemeSetup.h"
#include "curves/Curve.h"
#include "geometry/ControlPoints.h"

#include <cstdio>

std::string CurveNotes::hint(const Curve &curve, const ControlPoints &polygon)
{
    const std::string name = Schemes::row(curve.scheme()).name;
    const bool needsClosing = curve.closedOnly && !polygon.closed;
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
    if (curve.scheme() == analysedScheme && curve.u() == analysedU)
        return analysedWarning;
    analysedScheme = curve.scheme();
    analysedU = curve.u();
    analysedWarning.clear();
    SchemeSetup setup;
    setup.scheme = curve.scheme();
    setup.u = curve.u();
    const std::optional<Mask> mask = setup.mask();
    if (!mask)
        return analysedWarning;
    // Without a bound of the regularity above 0 the limits cannot even be
    // continuous: the levels do not settle on a curve.
    const char *name = Schemes::row(curve.scheme()).name;
    char text[160];
    if (!MaskAnalysis::of(*mask).regularity)
        std::snprintf(text, sizeof text, "%s diverges at u = %.2f: its levels settle on no curve", name, curve.u());
    else if (!MaskAnalysis::provesConvergence(*mask))
        std::snprintf(text, sizeof text, "%s at u = %.2f: convergence not proven", name, curve.u());
    else
        return analysedWarning;
    analysedWarning = text;
    return analysedWarning;
}
