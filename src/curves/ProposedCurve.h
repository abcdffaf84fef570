#pragma once

#include "curves/ClosedRefinement.h"
#include "curves/Curve.h"
#include "curves/Mask.h"

// The Vantrell proposed scheme for closed polygons: every pass replaces each
// vertex P by three points, E before it, P moved, H after it, tripling the
// point count. With A and B the midpoints of P's two edges,
// E = combine(A, P, u/2), H = combine(B, P, u/2) and P moves to
// u P + (1 - u)/2 (A + B); multiplied out, E = u/4 before + (1 - u/4) P,
// P moves to (1 - u)/4 before + (1 + u)/2 P + (1 - u)/4 after, and H =
// (1 - u/4) P + u/4 after, which is how they are computed (the scheme's
// mask). Ghosts follow the same stencil.
class ProposedCurve : public Curve
{
public:
    explicit ProposedCurve(ControlPoints *controlPoints);

    // The scheme's mask at weight u, 3: (1 - u)/4, u/4, 1 - u/4,
    // (1 + u)/2, 1 - u/4, u/4, (1 - u)/4 (a vertex's weights to the new
    // points from the moved vertex before it to the one after it). The
    // passes use these very weights: refined by the mask (MaskRefinement)
    // a polygon gives this scheme's points bit for bit, the loop turned by
    // two points per pass.
    static Mask maskAt(double u);
    // maskAt(u()).
    std::optional<Mask> mask() const override { return maskAt(u()); }

    // Stores u and halfU = u * 0.5 together.
    void setU(double value) override;

    // level passes (bounded by pointLimit) on a closed polygon of 3 or
    // more points, or, with openEnds, on an open one (refineOpen);
    // deltaArea becomes the polygon's area minus the final loop's.
    // Otherwise returns with deltaArea untouched.
    void subdivide() override;

    // Weight of the edge midpoint in the two new points beside a vertex;
    // always u() * 0.5.
    double halfU = 0.25;

protected:
    // The pass turns the loop by 2 points against the mask's.
    std::int64_t passTurn() const override { return 2; }

private:
    ClosedRefinement refinement;
};
