#include "render/PostScriptWriter.h"

#include "render/Frame.h"
#include "render/GlCanvas.h"
#include "render/SceneRenderer.h"

#include <GL/gl.h>
#include <gl2ps.h>

#include <new>

namespace {

// How gl2ps orders the recorded primitives. BSP keeps overlapping shapes in
// depth order, but costs far more than the alternatives on long
// self-crossing curves (everything here lies at z = 0).
constexpr GLint sortMode = GL2PS_BSP_SORT;
constexpr GLint options = GL2PS_SIMPLE_LINE_OFFSET | GL2PS_SILENT | GL2PS_BEST_ROOT | GL2PS_OCCLUSION_CULL;
// The first pass offers this many feedback values; every overflow doubles
// it, so a large page costs a few passes instead of one per megavalue.
constexpr GLint feedbackStart = 1048576;
constexpr const char *producer = "Ornelle, by the Ornelle authors";

void recordText(double x, double y, const std::string &text)
{
    glRasterPos2d(x, y);
    gl2psText(text.c_str(), "Helvetica", 12);
}

} // namespace

QString PostScriptWriter::recordView(std::FILE *file, SceneRenderer &renderer, const Frame &frame,
                                     const char *title) const
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int page[4] = {viewport[0], viewport[1], viewport[2], viewport[3]};
    return record(file, renderer, frame, page, title);
}

QString PostScriptWriter::recordPage(std::FILE *file, SceneRenderer &renderer, const Frame &frame, const QRect &box,
                                     int pageSide, const char *title) const
{
    // The visible square is scaled into a square of fixed size, so that the
    // figure's size does not follow the window's, and cut to the box around
    // its marks: the viewport is shifted so that the box's corner is the
    // page's origin. (gl2ps's own tight box leaves the marks' widths out.)
    GLint saved[4];
    glGetIntegerv(GL_VIEWPORT, saved);
    double matrix[16];
    frame.view.projectionMatrix(matrix);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(matrix);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(-box.x(), -box.y(), pageSide, pageSide);
    const int page[4] = {0, 0, box.width(), box.height()};
    QString failure;
    try {
        failure = record(file, renderer, frame, page, title);
    } catch (...) {
        glViewport(saved[0], saved[1], saved[2], saved[3]);
        throw;
    }
    glViewport(saved[0], saved[1], saved[2], saved[3]);
    return failure;
}

QString PostScriptWriter::record(std::FILE *file, SceneRenderer &renderer, const Frame &frame, const int viewport[4],
                                 const char *title) const
{
    GlCanvas canvas;
    canvas.textHook = recordText;
    if (frame.printPage) {
        // gl2ps does not see OpenGL's widths: a page tells it each one.
        canvas.lineWidthHook = [](float width) { gl2psLineWidth(width); };
        canvas.pointSizeHook = [](float size) { gl2psPointSize(size); };
    }
    GLint pageViewport[4] = {viewport[0], viewport[1], viewport[2], viewport[3]};
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A pass that overflows the buffer writes nothing, so the file ends up
    // holding only the last, complete page.
    QString failure;
    GLint state = GL2PS_OVERFLOW;
    for (GLint bufferSize = feedbackStart; state == GL2PS_OVERFLOW; bufferSize *= 2) {
        if (bufferSize > feedbackLimit) {
            failure = "the picture is too large to export";
            break;
        }
        if (gl2psBeginPage(title, producer, pageViewport, GL2PS_EPS, sortMode, options, GL_RGBA, 0, nullptr, 0, 0,
                           0, bufferSize, file, nullptr) != GL2PS_SUCCESS) {
            failure = "the page could not be started";
            break;
        }
        try {
            renderer.draw(canvas, frame);
        } catch (const std::bad_alloc &) {
            gl2psEndPage();
            glPopMatrix();
            throw;
        }
        state = gl2psEndPage();
        // An empty scene still makes a complete, empty page.
        if (state != GL2PS_SUCCESS && state != GL2PS_NO_FEEDBACK && state != GL2PS_OVERFLOW)
            failure = "the page could not be written";
    }
    glPopMatrix();
    return failure;
}
