#include "curves/ChaikinCurve.h"

namespace {

// One corner cut: the corner P becomes A = combine(P, before, u) and
// B = combine(P, after, u), in that order; the triangle (P, A, B) is the
// area the cut removes.
class CornerCut : public ClosedRefinement::Rule
{
public:
    explicit CornerCut(double u) : Rule(2, 0, false), u(u) {}

    void expand(const Vector *in, std::size_t count, Vector *out) const override
    {
        // As combineInto() combines: P * u + neighbour * (1 - u).
        const double s = 1.0 - u;
        for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(count); ++i) {
            const Vector &p = in[i];
            out[2 * i] = p * u + in[i - 1] * s;
            out[2 * i + 1] = p * u + in[i + 1] * s;
        }
    }

    void expandFlags(const std::uint8_t *in, std::size_t count, std::uint8_t *out) const override
    {
        for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(count); ++i) {
            out[2 * i] = in[i] | in[i - 1];
            out[2 * i + 1] = in[i] | in[i + 1];
        }
    }

    double passArea(const Vector *in, std::size_t count, const Vector *out) const override
    {
        double sum = 0.0;
        for (std::size_t i = 0; i < count; ++i)
            sum += signedArea(in[i], out[2 * i], out[2 * i + 1]);
        return sum;
    }

private:
    const double u;
};

} // namespace

ChaikinCurve::ChaikinCurve(ControlPoints *controlPoints) : Curve(controlPoints, Schemes::Chaikin)
{
    usesLevel = true;
    closedOnly = true;
    setU(0.75);
}

Mask ChaikinCurve::maskAt(double u)
{
    const double s = 1.0 - u;
    return Mask(2, {s, u, u, s});
}


void ChaikinCurve::subdivide()
{
    // An open polygon with open ends is refined by the mask (Curve).
    if (refineOpen())
        return;
    // Every neighbour is taken as it stood at the start of the pass; the
    // cut-off triangles are summed pass by pass, each pass in loop order.
    refineClosed(2, [this](int passes) {
        if (passes == 0)
            return;
        refinement.run(CornerCut(u()), passes, false, *result, pointStorage());
        deltaArea = refinement.passAreas;
    });
}
