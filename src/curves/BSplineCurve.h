#pragma once

#include "curves/ClosedRefinement.h"
#include "curves/Curve.h"
#include "curves/Mask.h"

// Refinement of a closed polygon towards its uniform cubic B-spline: every
// pass inserts E = combine(P, after, u) on each edge and moves each vertex
// to 1/8 before + 3/4 P + 1/8 after, doubling the point count. Ghosts follow
// the same rule.
class BSplineCurve : public Curve
{
public:
    explicit BSplineCurve(ControlPoints *controlPoints);

    // The scheme's mask at edge weight u, 2: 1/8, 1 - u, 3/4, u, 1/8 (a
    // vertex's weights to the new points from the vertex before it to the
    // one after it); refined by it (MaskRefinement) a polygon gives this
    // scheme's points bit for bit, the loop turned by two points per pass.
    static Mask maskAt(double u);
    // maskAt(u()).
    std::optional<Mask> mask() const override { return maskAt(u()); }

    // level passes (bounded by pointLimit) on a closed polygon of 3 or
    // more points, or, with openEnds, on an open one (refineOpen);
    // deltaArea becomes the polygon's area minus the final loop's, for
    // every u. Otherwise returns with deltaArea untouched.
    void subdivide() override;

protected:
    // The pass turns the loop by 2 points against the mask's.
    std::int64_t passTurn() const override { return 2; }

private:
    ClosedRefinement refinement;
};
