#include "curves/BSplineCurve.h"

namespace {

// One B-spline pass: the vertex P moves to 1/8 before + 3/4 P + 1/8 after
// and is followed by E = combine(P, after, u) on its edge.
class CubicSplit : public ClosedRefinement::Rule
{
public:
    explicit CubicSplit(double u) : Rule(2, 0, true), u(u) {}

    void expand(const Vector *in, std::size_t count, Vector *out) const override
    {
        const double s = 1.0 - u;
        for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(count); ++i) {
            const Vector &p = in[i];
            const Vector &after = in[i + 1];
            out[2 * i] = in[i - 1] * 0.125 + p * 0.75 + after * 0.125;
            out[2 * i + 1] = p * u + after * s;
        }
    }

    void expandFlags(const std::uint8_t *in, std::size_t count, std::uint8_t *out) const override
    {
        for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(count); ++i) {
            out[2 * i] = in[i - 1] | in[i] | in[i + 1];
            out[2 * i + 1] = in[i] | in[i + 1];
        }
    }

private:
    const double u;
};

} // namespace

BSplineCurve::BSplineCurve(ControlPoints *controlPoints) : Curve(controlPoints, Schemes::BSpline)
{
    usesLevel = true;
    closedOnly = true;
    setU(0.5);
}

Mask BSplineCurve::maskAt(double u)
{
    return Mask(2, {0.125, 1.0 - u, 0.75, u, 0.125});
}


void BSplineCurve::subdivide()
{
    // An open polygon with open ends is refined by the mask (Curve).
    if (refineOpen())
        return;
    // The triangles between successive polygons add up to the removed
    // area only when edge points sit at edge midpoints (u = 0.5), so the
    // difference is taken between the polygon and the final loop, whose
    // fan is summed as the loop is written.
    const double polygonArea = result ? fanArea(*result) : 0.0;
    double loopArea = polygonArea;
    if (refineClosed(2, [&](int passes) {
            if (passes == 0)
                return;
            refinement.run(CubicSplit(u()), passes, true, *result, pointStorage());
            loopArea = refinement.loopArea;
        }))
        deltaArea = polygonArea - loopArea;
}
