#pragma once

#include "curves/Curve.h"
#include "render/CurveVertices.h"

#include <cstdint>

struct Frame;

// A curve's result laid out for drawing in a frame, kept with the curve
// (Curve::drawingCache) from one drawing to the next and made again only
// when the result changed (Curve::resultVersion), the frame asks for
// another tolerance, or the drawing needs parts it does not hold yet.
class CurveLayout : public Curve::DrawingCache
{
public:
    // The layout of curve's result (not null) for frame: simplified within
    // the frame's tolerance, or every vertex; with shades, the depth greys
    // too, and the dots while the curve shows them. Valid until the next
    // call for the same curve.
    static const CurveVertices &of(Curve &curve, const Frame &frame, bool shades);
    // The tolerance, in world units, that frame lays curve out with (0:
    // every vertex).
    static double toleranceFor(const Curve &curve, const Frame &frame);

private:
    const CurveVertices &layOut(const Curve &curve, double tolerance, bool shades);

    CurveVertices vertices;
    std::uint64_t version = ~std::uint64_t{0};
    // The result changed since the full arrays or the simplified ones were
    // laid out; the simplified ones also depend on their tolerance.
    bool verticesStale = true;
    bool simplifiedStale = true;
    double simplifiedTolerance = 0.0;
};
