#include "render/GlDrawing.h"

#include "render/Frame.h"
#include "render/GlCanvas.h"
#include "render/SceneRenderer.h"

namespace {

// A frame for the current context's square as the caller set it up: no
// simplification, the feedback sequence while recording.
Frame contextFrame()
{
    Frame frame;
    frame.repeatVertices = !GlCanvas::rendering();
    return frame;
}

void drawCurve(Curve &curve)
{
    GlCanvas canvas;
    SceneRenderer::drawCurve(canvas, contextFrame(), curve);
}

void drawPolygon(const ControlPoints &polygon)
{
    GlCanvas canvas;
    SceneRenderer::drawPolygon(canvas, contextFrame(), polygon);
}

} // namespace

void GlDrawing::install()
{
    Curve::setDrawer(drawCurve);
    ControlPoints::setDrawer(drawPolygon);
}
