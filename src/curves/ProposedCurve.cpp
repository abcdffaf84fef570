#include "curves/ProposedCurve.h"

namespace {

// One pass of the proposed scheme: with A and B the midpoints of the edges
// of P (A = combine(P, before, 1/2), B = combine(P, after, 1/2)), the group
// is E = combine(A, P, u/2), P moved to u P + (1 - u)/2 (A + B), and
// H = combine(B, P, u/2).
class ProposedSplit : public ClosedRefinement::Rule
{
public:
    ProposedSplit(double u, double halfU) : Rule(3, 1, true), w(u), side((1.0 - u) / 2.0), halfU(halfU) {}

    void expand(const Vector *in, std::size_t count, Vector *out) const override
    {
        // Each combination as combineInto() makes it: x * t + y * (1 - t).
        const double half = 1.0 - 0.5;
        const double rest = 1.0 - halfU;
        for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(count); ++i) {
            const Vector &p = in[i];
            const Vector a = p * 0.5 + in[i - 1] * half;
            const Vector b = p * 0.5 + in[i + 1] * half;
            out[3 * i] = a * halfU + p * rest;
            out[3 * i + 1] = p * w + (a + b) * side;
            out[3 * i + 2] = b * halfU + p * rest;
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
    const double w, side, halfU;
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


void ProposedCurve::subdivide()
{
    // No triangles to sum here: the difference is taken between the
    // polygon and the final loop, so that the read-out's final area is the
    // curve's own. The loop's fan is summed as the loop is written.
    const double polygonArea = result ? fanArea(*result) : 0.0;
    double loopArea = polygonArea;
    if (refineClosed(3, [&](int passes) {
            if (passes == 0)
                return;
            refinement.run(ProposedSplit(u(), halfU), passes, true, *result, pointStorage());
            loopArea = refinement.loopArea;
        }))
        deltaArea = polygonArea - loopArea;
}
