#pragma once

#include "curves/ClosedRefinement.h"
#include "curves/Curve.h"

// Corner cutting of a closed polygon: every pass replaces each corner P by
// A = combine(P, before, u) and B = combine(P, after, u), doubling the point
// count, and adds the signed areas of the cut-off triangles to deltaArea.
// u defaults to 0.75 (new points a quarter of the way to the neighbours).
class ChaikinCurve : public Curve
{
public:
    explicit ChaikinCurve(ControlPoints *controlPoints);

    // level passes (bounded by pointLimit) on a closed polygon of 3 or
    // more points; otherwise returns with deltaArea untouched.
    void subdivide() override;

private:
    ClosedRefinement refinement;
};
