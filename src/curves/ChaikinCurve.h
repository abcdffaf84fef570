#pragma once

#include "curves/ClosedRefinement.h"
#include "curves/Curve.h"
#include "curves/Mask.h"

// Corner cutting of a closed polygon: every pass replaces each corner P by
// A = combine(P, before, u) and B = combine(P, after, u), doubling the point
// count, and adds the signed areas of the cut-off triangles to deltaArea.
// u defaults to 0.75 (new points a quarter of the way to the neighbours).
class ChaikinCurve : public Curve
{
public:
    explicit ChaikinCurve(ControlPoints *controlPoints);

    // The scheme's mask at weight u, 2: 1 - u, u, u, 1 - u (one corner's
    // weights to the two points before and after it); refined by it
    // (MaskRefinement) a polygon gives this scheme's points bit for bit,
    // the loop turned by one point per pass.
    static Mask maskAt(double u);
    // maskAt(u()).
    std::optional<Mask> mask() const override { return maskAt(u()); }

    // level passes (bounded by pointLimit) on a closed polygon of 3 or
    // more points, or, with openEnds, on an open one (refineOpen); otherwise returns with deltaArea untouched.
    void subdivide() override;

protected:
    // The pass turns the loop by 1 point against the mask's.
    std::int64_t passTurn() const override { return 1; }

private:
    ClosedRefinement refinement;
};
