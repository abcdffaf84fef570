#include "StudyLayers.h"

#include "analysis/CurvatureComb.h"
#include "analysis/LimitCurve.h"
#include "analysis/SubdivisionPasses.h"
#include "geometry/DrawStyle.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

void put(std::vector<float> &out, const Vector &v)
{
    out.push_back(static_cast<float>(v.x()));
    out.push_back(static_cast<float>(v.y()));
}

void drawArray(GLenum mode, const std::vector<float> &vertices)
{
    if (vertices.empty())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices.data());
    glDrawArrays(mode, 0, static_cast<GLsizei>(vertices.size() / 2));
    glDisableClientState(GL_VERTEX_ARRAY);
}

bool onScreen()
{
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    return mode == GL_RENDER;
}

// Smooth, blended lines for what follows; plainLines() undoes it.
void smoothLines()
{
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void plainLines()
{
    DrawStyle::lineWidth(1.0f);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
}

} // namespace

void StudyLayers::invalidate()
{
    passes.valid = marks.valid = limit.valid = comb.valid = false;
}

void StudyLayers::clear()
{
    invalidate();
    loops = {};
    inserted = {};
    moved = {};
    limitVertices = {};
    teethVertices = {};
    outlineVertices = {};
    legend = QImage();
}

void StudyLayers::setPasses(const SubdivisionPasses &made, double tolerance, double scale)
{
    loops.resize(made.polygons.size());
    for (std::size_t j = 0; j < made.polygons.size(); ++j) {
        Loop &loop = loops[j];
        loop.full.clear();
        loop.shown.begin(tolerance, false, false);
        for (const Vector &p : made.polygons[j]) {
            put(loop.full, p);
            loop.shown.add(p.x(), p.y());
        }
        loop.shown.finish(true);
    }
    passes = {true, scale};
}

void StudyLayers::drawPasses() const
{
    if (loops.empty())
        return;
    const bool screen = onScreen();
    smoothLines();
    const double levels = static_cast<double>(loops.size());
    for (std::size_t j = 0; j < loops.size(); ++j) {
        // The older the pass, the paler: level 0 nearly the background's
        // grey, the level below the curve the darkest.
        const double age = levels > 1 ? (levels - 1 - static_cast<double>(j)) / (levels - 1) : 0.0;
        const double grey = 0.30 + 0.35 * age;
        glColor3d(grey, grey, grey);
        drawArray(GL_LINE_LOOP, screen ? loops[j].shown.vertices() : loops[j].full);
    }
    plainLines();
}

void StudyLayers::setMarks(const List<Point> &result, int scheme, int reachedLevel, double scale)
{
    inserted.clear();
    moved.clear();
    if (reachedLevel >= 1 && result.count <= maxMarks) {
        std::size_t index = 0;
        for (const Node<Point> *n = result.head; n; n = n->next, ++index) {
            const bool isMoved = SubdivisionPasses::roleAt(scheme, index) == SubdivisionPasses::Role::Moved;
            put(isMoved ? moved : inserted, n->item->position);
        }
    }
    marks = {true, scale};
}

void StudyLayers::drawMarks() const
{
    // Square marks, unlike the round control points and curve points.
    DrawStyle::pointSize(6.0f);
    glColor3d(0.0, 0.0, 0.0);
    drawArray(GL_POINTS, inserted);
    glColor3d(1.0, 1.0, 1.0);
    drawArray(GL_POINTS, moved);
    DrawStyle::pointSize(1.0f);
}

void StudyLayers::setLimit(const LimitCurve *curve, double tolerance, double scale)
{
    limitVertices.clear();
    limitClosed = curve && curve->closed();
    if (curve) {
        const LimitCurve::Sampling sampling = curve->sample(tolerance);
        // A closed sampling repeats its first point last; the loop closes
        // by itself.
        const std::size_t count = sampling.points.size() - (limitClosed && sampling.points.size() > 1 ? 1 : 0);
        limitVertices.reserve(2 * count);
        for (std::size_t i = 0; i < count; ++i)
            put(limitVertices, sampling.points[i]);
    }
    limit = {true, scale};
}

void StudyLayers::drawLimit() const
{
    smoothLines();
    DrawStyle::lineWidth(1.0f);
    glColor3d(0.0, 0.0, 0.0);
    drawArray(limitClosed ? GL_LINE_LOOP : GL_LINE_STRIP, limitVertices);
    plainLines();
}

void StudyLayers::setComb(const CurvatureComb &made, double scale)
{
    teethVertices.clear();
    outlineVertices.clear();
    teethVertices.reserve(4 * made.teeth.size());
    outlineVertices.reserve(2 * made.teeth.size());
    for (const CurvatureComb::Tooth &tooth : made.teeth) {
        put(teethVertices, tooth.base);
        put(teethVertices, tooth.tip);
        put(outlineVertices, tooth.tip);
    }
    outlineClosed = made.closed;
    comb = {true, scale};
}

void StudyLayers::drawComb() const
{
    smoothLines();
    glColor3d(1.0, 1.0, 1.0);
    DrawStyle::lineWidth(1.0f);
    drawArray(GL_LINES, teethVertices);
    DrawStyle::lineWidth(1.5f);
    drawArray(outlineClosed ? GL_LINE_LOOP : GL_LINE_STRIP, outlineVertices);
    plainLines();
}

void StudyLayers::setLegend(const QImage &image)
{
    legend = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGBA8888);
}

void StudyLayers::drawLegend(int viewportWidth, int viewportHeight, int deviceMargin) const
{
    if (legend.isNull() || !onScreen() || viewportWidth <= 2 * deviceMargin || viewportHeight <= 2 * deviceMargin)
        return;
    // The raster position in normalized device coordinates, so that the
    // legend keeps its corner whatever the view shows; a negative zoom in
    // y draws the picture's rows top down from there.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2d(-1.0 + 2.0 * deviceMargin / viewportWidth, 1.0 - 2.0 * deviceMargin / viewportHeight);
    glPixelZoom(1.0f, -1.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4); // rows of 4-byte pixels
    glDrawPixels(legend.width(), legend.height(), GL_RGBA, GL_UNSIGNED_BYTE, legend.constBits());
    glDisable(GL_BLEND);
    glPixelZoom(1.0f, 1.0f);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
