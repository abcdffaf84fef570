#include "render/GlCanvas.h"

#include <QImage>

#include <GL/gl.h>

void GlCanvas::setColour(const Colour &colour)
{
    glColor3f(colour[0], colour[1], colour[2]);
}

void GlCanvas::setLineWidth(float width)
{
    glLineWidth(width);
    if (lineWidthHook)
        lineWidthHook(width);
}

void GlCanvas::setPointSize(float size)
{
    glPointSize(size);
    if (pointSizeHook)
        pointSizeHook(size);
}

void GlCanvas::setSmooth(bool on)
{
    if (on) {
        glEnable(GL_LINE_SMOOTH);
        glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_POINT_SMOOTH);
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_BLEND);
    }
}

void GlCanvas::draw(Shape shape, const Vertices &vertices)
{
    if (vertices.count == 0)
        return;
    GLenum mode = GL_POINTS;
    switch (shape) {
    case Shape::Pairs: mode = GL_LINES; break;
    case Shape::Strip: mode = GL_LINE_STRIP; break;
    case Shape::Loop: mode = GL_LINE_LOOP; break;
    case Shape::Dots:
        // Round points; the square ones are points without smoothing.
        glEnable(GL_POINT_SMOOTH);
        glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
        break;
    case Shape::Squares: glDisable(GL_POINT_SMOOTH); break;
    case Shape::Band: mode = GL_QUAD_STRIP; break;
    }
    const auto stride = static_cast<GLsizei>(vertices.stride);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride == 1 ? 0 : stride * 2 * GLsizei(sizeof(float)), vertices.xy);
    if (vertices.rgb) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, stride == 1 ? 0 : stride * 3 * GLsizei(sizeof(float)), vertices.rgb);
    }
    glDrawArrays(mode, 0, static_cast<GLsizei>(vertices.count));
    if (vertices.rgb)
        glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void GlCanvas::text(double x, double y, const std::string &text)
{
    if (textHook)
        textHook(x, y, text);
}

void GlCanvas::picture(const QImage &image, int deviceMargin)
{
    // Feedback capture records no pixels.
    if (!rendering())
        return;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2], height = viewport[3];
    if (image.isNull() || width <= 2 * deviceMargin || height <= 2 * deviceMargin)
        return;
    // The raster position in normalized device coordinates, so that the
    // picture keeps its corner whatever the view shows; a negative zoom in
    // y draws the picture's rows top down from there.
    const QImage rgba = image.format() == QImage::Format_RGBA8888 ? image : image.convertToFormat(QImage::Format_RGBA8888);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2d(-1.0 + 2.0 * deviceMargin / width, 1.0 - 2.0 * deviceMargin / height);
    glPixelZoom(1.0f, -1.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4); // rows of 4-byte pixels
    glDrawPixels(rgba.width(), rgba.height(), GL_RGBA, GL_UNSIGNED_BYTE, rgba.constBits());
    glDisable(GL_BLEND);
    glPixelZoom(1.0f, 1.0f);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

bool GlCanvas::rendering()
{
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    return mode == GL_RENDER;
}
