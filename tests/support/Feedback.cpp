#include "support/Feedback.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>

namespace {

// A wide viewport keeps the float window coordinates precise to ~1e-4.
constexpr int viewportSide = 4000;

// The captured square: window coordinates 0..viewportSide map back onto
// low..low + side on each axis.
struct Square
{
    double left, bottom, side;
};

std::vector<FeedbackItem> parse(const std::vector<GLfloat> &buffer, int used, const Square &square)
{
    auto toWorld = [&](float window, double low) { return low + window * square.side / viewportSide; };
    std::vector<FeedbackItem> items;
    int i = 0;
    auto readVertex = [&]() {
        FeedbackVertex v;
        v.x = toWorld(buffer[i], square.left);
        v.y = toWorld(buffer[i + 1], square.bottom);
        v.r = buffer[i + 3];
        v.g = buffer[i + 4];
        v.b = buffer[i + 5];
        v.a = buffer[i + 6];
        i += 7;
        return v;
    };
    while (i < used) {
        const auto token = static_cast<GLint>(buffer[i++]);
        FeedbackItem item;
        switch (token) {
        case GL_POINT_TOKEN:
            item.kind = FeedbackItem::Point;
            item.vertices.push_back(readVertex());
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            item.kind = FeedbackItem::Line;
            item.vertices.push_back(readVertex());
            item.vertices.push_back(readVertex());
            break;
        case GL_PASS_THROUGH_TOKEN:
            item.kind = FeedbackItem::PassThrough;
            item.marker = buffer[i++];
            break;
        case GL_POLYGON_TOKEN: {
            const auto n = static_cast<int>(buffer[i++]);
            for (int k = 0; k < n; ++k)
                item.vertices.push_back(readVertex());
            break;
        }
        default:
            i += 7; // bitmap and pixel tokens carry one vertex
            break;
        }
        items.push_back(item);
    }
    return items;
}

} // namespace

std::vector<FeedbackItem> captureFeedback(const std::function<void()> &draw, double left, double right,
                                          double bottom, double top)
{
    glViewport(0, 0, viewportSide, viewportSide);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(left, right, bottom, top);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (std::size_t size = 1 << 16;; size *= 4) {
        std::vector<GLfloat> buffer(size);
        glFeedbackBuffer(static_cast<GLsizei>(size), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        const GLint used = glRenderMode(GL_RENDER);
        if (used >= 0)
            return parse(buffer, used, {left, bottom, right - left});
    }
}

std::string colourOf(const FeedbackVertex &v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f,%.2f,%.2f", v.r, v.g, v.b);
    return text;
}

bool near(double a, double b, double tolerance)
{
    return std::fabs(a - b) <= tolerance;
}
