#pragma once

#include <array>
#include <cstddef>
#include <string>

class QImage;

// What the program draws, as the few primitives it needs, for any output:
// the OpenGL view (GlCanvas, which gl2ps records for PostScript), a QPainter
// (PainterCanvas: SVG and images) and a PDF page (PdfCanvas). Vertices are
// world coordinates; the canvas maps them to its device the way its frame
// says. Widths and sizes are in the device's units (pixels or points).
// One SceneRenderer draws the whole picture through this interface.
class Canvas
{
public:
    // Pairs: independent segments from vertices 0-1, 2-3, ...; Strip: an
    // open polyline; Loop: a closed one; Dots: round points; Squares:
    // square points; Band: the filled area between two polylines a and b
    // given alternately (a0, b0, a1, b1, ...), quadrilateral by
    // quadrilateral (a_i, b_i, b_(i+1), a_(i+1)), without outline.
    enum class Shape { Pairs, Strip, Loop, Dots, Squares, Band };

    // count vertices, vertex i at xy[2 * stride * i] (x, then y). With rgb,
    // vertex i has the colour rgb[3 * stride * i] (red, green, blue, 0..1),
    // which a line blends along its length; without, the current colour.
    struct Vertices
    {
        const float *xy = nullptr;
        std::size_t count = 0;
        std::size_t stride = 1;
        const float *rgb = nullptr;
    };

    using Colour = std::array<float, 3>;

    virtual ~Canvas() = default;

    // The colour of what follows, red, green and blue in 0..1.
    virtual void setColour(const Colour &colour) = 0;
    // Width of the lines that follow, in device units.
    virtual void setLineWidth(float width) = 0;
    // Size of the points that follow, in device units.
    virtual void setPointSize(float size) = 0;
    // Smooth (antialiased, blended) lines from here on, or plain ones; an
    // output that is always smooth ignores it.
    virtual void setSmooth(bool on) = 0;
    // Draws shape through vertices.
    virtual void draw(Shape shape, const Vertices &vertices) = 0;
    // text in the current colour, 12 points of Helvetica, its baseline
    // starting at world (x, y); an output that shows no text ignores it.
    virtual void text(double x, double y, const std::string &text) = 0;
    // image (device pixels) with its top-left corner deviceMargin pixels
    // inside the output's top-left corner; an output without pixels
    // ignores it.
    virtual void picture(const QImage &image, int deviceMargin) = 0;
};
