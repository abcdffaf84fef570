#pragma once

#include "curves/Curve.h"
#include "curves/Mask.h"

// The scheme of a mask the user gives (MaskPresets offers some): every pass
// maps the points p_j of a closed polygon to p'_i = sum over j of
// a_(i - m j) p_j (MaskSubdivision), multiplying the count by the arity m.
// With open ends an open polygon is refined too, its ends continued along
// the end edges. Ghosts follow the same rule. Starts with the four-point
// scheme at w = 1/16.
class CustomCurve : public Curve
{
public:
    explicit CustomCurve(ControlPoints *controlPoints);

    // The mask refined by (a plain copy).
    std::optional<Mask> mask() const override { return rule; }
    const Mask &customMask() const { return rule; }
    // Replaces the mask; the caller makes the curve again (the polygon's
    // dirty flag). Any mask Mask accepts; whether it converges is the
    // analysis's business.
    void setMask(const Mask &mask) { rule = mask; }

    // level passes (bounded by pointLimit and MaskSubdivision's largest
    // coordinate) on a closed polygon of 3 or more points, or on an open
    // one with openEnds; deltaArea becomes the polygon's area minus the
    // final loop's (0 when open). Otherwise returns with deltaArea
    // untouched.
    void subdivide() override;

private:
    Mask rule;
};
