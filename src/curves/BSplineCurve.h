#pragma once

#include "curves/ClosedRefinement.h"
#include "curves/Curve.h"

// Refinement of a closed polygon towards its uniform cubic B-spline: every
// pass inserts E = combine(P, after, u) on each edge and moves each vertex
// to 1/8 before + 3/4 P + 1/8 after, doubling the point count. Ghosts follow
// the same rule.
class BSplineCurve : public Curve
{
public:
    explicit BSplineCurve(ControlPoints *controlPoints);

    // level passes (bounded by pointLimit) on a closed polygon of 3 or
    // more points; deltaArea becomes the polygon's area minus the final
    // loop's, for every u. Otherwise returns with deltaArea untouched.
    void subdivide() override;

private:
    ClosedRefinement refinement;
};
