#pragma once

#include "render/Canvas.h"

#include <functional>

// The OpenGL 1.1 back-end of Canvas: draws into the current context, in
// whatever projection and viewport it holds (world coordinates in, as the
// view loads them), with vertex and colour arrays, and immediate-mode
// smoothing and blending for smooth lines. Feedback capture (gl2ps, tests)
// records exactly what it draws; a recorder that does not see OpenGL's
// widths, sizes or text is told them through the hooks.
class GlCanvas : public Canvas
{
public:
    // Told every width or size (device pixels) as it is set.
    std::function<void(float)> lineWidthHook;
    std::function<void(float)> pointSizeHook;
    // Told every text with its world position; OpenGL itself shows none.
    std::function<void(double x, double y, const std::string &text)> textHook;

    void setColour(const Colour &colour) override;
    void setLineWidth(float width) override;
    void setPointSize(float size) override;
    void setSmooth(bool on) override;
    void draw(Shape shape, const Vertices &vertices) override;
    void text(double x, double y, const std::string &text) override;
    // With glDrawPixels at the viewport's top-left corner.
    void picture(const QImage &image, int deviceMargin) override;

    // True while the current context renders (not in feedback or selection
    // mode).
    static bool rendering();
};
