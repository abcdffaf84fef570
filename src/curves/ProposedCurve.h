#pragma once

#include "curves/ClosedRefinement.h"
#include "curves/Curve.h"

// The Vantrell proposed scheme for closed polygons: every pass replaces each
// vertex P by three points, E before it, P moved, H after it, tripling the
// point count. With A and B the midpoints of P's two edges,
// E = combine(A, P, u/2), H = combine(B, P, u/2) and P moves to
// u P + (1 - u)/2 (A + B). Ghosts follow the same stencil.
class ProposedCurve : public Curve
{
public:
    explicit ProposedCurve(ControlPoints *controlPoints);

    // Stores u and halfU = u * 0.5 together.
    void setU(double value) override;

    // level passes (bounded by pointLimit) on a closed polygon of 3 or
    // more points; deltaArea becomes the polygon's area minus the final
    // loop's. Otherwise returns with deltaArea untouched.
    void subdivide() override;

    // Weight of the edge midpoint in the two new points beside a vertex;
    // always u() * 0.5.
    double halfU = 0.25;

private:
    ClosedRefinement refinement;
};
