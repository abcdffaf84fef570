#include "curves/CustomCurve.h"

#include "curves/MaskPresets.h"

CustomCurve::CustomCurve(ControlPoints *controlPoints)
    : Curve(controlPoints, Schemes::Custom), rule(MaskPresets::fourPoint(MaskPresets::fourPointTension))
{
    usesLevel = true;
    closedOnly = true;
}

void CustomCurve::subdivide()
{
    if (refineOpen())
        return;
    if (controlPoints && controlPoints->closed)
        refineByMask(true);
}
