#include "render/CurveLayout.h"

#include "render/Frame.h"

double CurveLayout::toleranceFor(const Curve &curve, const Frame &frame)
{
    if (frame.wholeUpTo > 0 && (!curve.result || curve.result->count <= frame.wholeUpTo))
        return 0.0;
    return frame.tolerance;
}

const CurveVertices &CurveLayout::of(Curve &curve, const Frame &frame, bool shades)
{
    auto *layout = dynamic_cast<CurveLayout *>(curve.drawingCache.get());
    if (!layout) {
        curve.drawingCache = std::make_unique<CurveLayout>();
        layout = static_cast<CurveLayout *>(curve.drawingCache.get());
    }
    return layout->layOut(curve, toleranceFor(curve, frame), shades);
}

const CurveVertices &CurveLayout::layOut(const Curve &curve, double tolerance, bool shades)
{
    if (version != curve.resultVersion()) {
        version = curve.resultVersion();
        verticesStale = simplifiedStale = true;
    }
    // The simplified arrays are redone when the tolerance changes (a
    // resize, or an export between two paints).
    if (tolerance > 0) {
        if (simplifiedStale || tolerance != simplifiedTolerance || (shades && !vertices.hasSimplifiedShades()) ||
            (curve.curvePoints && !vertices.hasSimplifiedDots())) {
            vertices.fillSimplified(*curve.result, shades, !curve.drawnOpen(), tolerance, curve.curvePoints);
            simplifiedTolerance = tolerance;
            simplifiedStale = false;
            if (!verticesStale) {
                // The full arrays are only laid out for feedback capture and
                // pages: a result that is drawn simplified does not keep them.
                vertices.releaseFull();
                verticesStale = true;
            }
        }
    } else if (verticesStale || (shades && !vertices.hasShades())) {
        vertices.fill(*curve.result, shades);
        verticesStale = false;
    }
    vertices.showSimplified(tolerance > 0);
    return vertices;
}
