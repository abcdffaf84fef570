#include "curves/ProposedCurve.h"

namespace {

// One pass of the proposed scheme: with A and B the midpoints of the edges
// of P, the group is E = combine(A, P, u/2), P moved to
// u P + (1 - u)/2 (A + B), and H = combine(B, P, u/2), each multiplied out
// into the weights of the mask a_0 .. a_6 and summed from the point before
// to the point after, as a pass by the mask sums them.
class ProposedSplit : public ClosedRefinement::Rule
{
public:
    explicit ProposedSplit(double u) : Rule(3, 1, true), a(ProposedCurve::maskAt(u).coefficients()) {}

    void expand(const Vector *in, std::size_t count, Vector *out) const override
    {
        for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(count); ++i) {
            const Vector &before = in[i - 1];
            const Vector &p = in[i];
            const Vector &after = in[i + 1];
            out[3 * i] = before * a[5] + p * a[2];
            out[3 * i + 1] = before * a[6] + p * a[3] + after * a[0];
            out[3 * i + 2] = p * a[4] + after * a[1];
        }
    }

    void expandFlags(const std::uint8_t *in, std::size_t count, std::uint8_t *out) const override
    {
        for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(count); ++i) {
            out[3 * i] = in[i] | in[i - 1];
            out[3 * i + 1] = in[i - 1] | in[i] | in[i + 1];
            out[3 * i + 2] = in[i] | in[i + 1];
        }
    }

private:
    const std::vector<double> a;
};

} // namespace

ProposedCurve::ProposedCurve(ControlPoints *controlPoints) : Curve(controlPoints, Schemes::Proposed)
{
    usesLevel = true;
    closedOnly = true;
    setU(0.5);
}

void ProposedCurve::setU(double value)
{
    Curve::setU(value);
    halfU = value * 0.5;
}

Mask ProposedCurve::maskAt(double u)
{
    const double side = (1.0 - u) * 0.25;
    const double near = u * 0.25;
    const double inner = 1.0 - near;
    return Mask(3, {side, near, inner, (1.0 + u) * 0.5, inner, near, side});
}


void ProposedCurve::subdivide()
{
    // An open polygon with open ends is refined by the mask (Curve).
    if (refineOpen())
        return;
    // No triangles to sum here: the difference is taken between the
    // polygon and the final loop, so that the read-out's final area is the
    // curve's own. The loop's fan is summed as the loop is written.
    const double polygonArea = result ? fanArea(*result) : 0.0;
    double loopArea = polygonArea;
    if (refineClosed(3, [&](int passes) {
            if (passes == 0)
                return;
            refinement.run(ProposedSplit(u()), passes, true, *result, pointStorage());
            loopArea = refinement.loopArea;
        }))
        deltaArea = polygonArea - loopArea;
}
