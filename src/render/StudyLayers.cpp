#include "render/StudyLayers.h"

#include "analysis/CurvatureComb.h"
#include "analysis/LimitCurve.h"
#include "analysis/SubdivisionPasses.h"
#include "render/Canvas.h"

namespace {

void put(std::vector<float> &out, const Vector &v)
{
    out.push_back(static_cast<float>(v.x()));
    out.push_back(static_cast<float>(v.y()));
}

void drawArray(Canvas &canvas, Canvas::Shape shape, const std::vector<float> &vertices)
{
    if (!vertices.empty())
        canvas.draw(shape, {vertices.data(), vertices.size() / 2});
}

// Back to plain lines of width 1 after a part.
void plainLines(Canvas &canvas, float widthScale)
{
    canvas.setLineWidth(widthScale);
    canvas.setSmooth(false);
}

} // namespace

void StudyLayers::setPasses(const SubdivisionPasses &made, double tolerance)
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
}

void StudyLayers::drawPasses(Canvas &canvas, bool simplified, float widthScale) const
{
    if (loops.empty())
        return;
    canvas.setSmooth(true);
    const double levels = static_cast<double>(loops.size());
    for (std::size_t j = 0; j < loops.size(); ++j) {
        // The older the pass, the paler: level 0 nearly the background's
        // grey, the level below the curve the darkest.
        const double age = levels > 1 ? (levels - 1 - static_cast<double>(j)) / (levels - 1) : 0.0;
        const auto grey = static_cast<float>(0.30 + 0.35 * age);
        canvas.setColour({grey, grey, grey});
        drawArray(canvas, Canvas::Shape::Loop, simplified ? loops[j].shown.vertices() : loops[j].full);
    }
    plainLines(canvas, widthScale);
}

void StudyLayers::setMarks(const Curve &curve)
{
    inserted.clear();
    moved.clear();
    const List<Point> *result = curve.result;
    if (curve.usesLevel && curve.reachedLevel >= 1 && result && result->count <= maxMarks) {
        std::size_t index = 0;
        for (const Node<Point> *n = result->head; n; n = n->next, ++index) {
            const bool isMoved = SubdivisionPasses::roleIn(curve, index) == SubdivisionPasses::Role::Moved;
            put(isMoved ? moved : inserted, n->item->position);
        }
    }
}

void StudyLayers::drawMarks(Canvas &canvas, float widthScale) const
{
    // Square marks, unlike the round control points.
    canvas.setPointSize(6.0f * widthScale);
    canvas.setColour({0.0f, 0.0f, 0.0f});
    drawArray(canvas, Canvas::Shape::Squares, inserted);
    canvas.setColour({1.0f, 1.0f, 1.0f});
    drawArray(canvas, Canvas::Shape::Squares, moved);
    canvas.setPointSize(widthScale);
}

void StudyLayers::setLimit(const LimitCurve *curve, double tolerance)
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
}

void StudyLayers::drawLimit(Canvas &canvas, float widthScale) const
{
    canvas.setSmooth(true);
    canvas.setLineWidth(widthScale);
    canvas.setColour({0.0f, 0.0f, 0.0f});
    drawArray(canvas, limitClosed ? Canvas::Shape::Loop : Canvas::Shape::Strip, limitVertices);
    plainLines(canvas, widthScale);
}

void StudyLayers::setComb(const CurvatureComb &made)
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
}

void StudyLayers::drawComb(Canvas &canvas, float widthScale) const
{
    canvas.setSmooth(true);
    canvas.setColour({1.0f, 1.0f, 1.0f});
    canvas.setLineWidth(widthScale);
    drawArray(canvas, Canvas::Shape::Pairs, teethVertices);
    canvas.setLineWidth(1.5f * widthScale);
    drawArray(canvas, outlineClosed ? Canvas::Shape::Loop : Canvas::Shape::Strip, outlineVertices);
    plainLines(canvas, widthScale);
}

void StudyLayers::setLegend(const QImage &image)
{
    legend = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGBA8888);
}

void StudyLayers::drawLegend(Canvas &canvas, int deviceMargin) const
{
    if (!legend.isNull())
        canvas.picture(legend, deviceMargin);
}
