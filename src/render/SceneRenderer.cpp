#include "render/SceneRenderer.h"

#include "analysis/CurvatureComb.h"
#include "render/Canvas.h"
#include "render/CurveLayout.h"
#include "render/Frame.h"
#include "render/Palette.h"
#include "render/PolygonVertices.h"

#include <algorithm>
#include <cmath>

namespace {

using Colour = Canvas::Colour;

constexpr Colour gridGrey{0.5f, 0.5f, 0.5f};
using Palette::ghostGrey;
using Palette::printDark;
constexpr Colour white{1.0f, 1.0f, 1.0f};

// Teeth stand at most at this many points of a curve, and no closer than
// combSpacing device pixels along it: closer teeth would make a solid band
// in the view.
constexpr std::size_t combTeeth = 16384;
constexpr double combSpacing = 5.0;
// Tooth length per unit of curvature, as a share of the visible side (in
// world units squared once multiplied by it): a circle of radius 5 at the
// reset view gets teeth of one grid unit. Teeth are cut at an eighth of
// the side, where corners of the early levels would cross the view.
constexpr double combScalePerSide = 0.25;
constexpr double longestToothPerSide = 0.125;
void put(std::vector<float> &out, const Vector &v)
{
    out.push_back(static_cast<float>(v.x()));
    out.push_back(static_cast<float>(v.y()));
}

void drawArray(Canvas &canvas, Canvas::Shape shape, const std::vector<float> &xy, const std::vector<float> *rgb = nullptr)
{
    if (!xy.empty())
        canvas.draw(shape, {xy.data(), xy.size() / 2, 1, rgb ? rgb->data() : nullptr});
}

} // namespace

SceneRenderer::SceneRenderer(Scene &scene) : scene(scene), legend(study) {}

void SceneRenderer::draw(Canvas &canvas, const Frame &frame)
{
    if (frame.backdrop) {
        drawGrid(canvas, frame);
        drawAxes(canvas, frame);
    }
    drawPasses(canvas, frame);
    drawDisplacement(canvas, frame);
    drawPolygon(canvas, frame);
    drawCompared(canvas, frame);
    drawSupport(canvas, frame);
    drawSelected(canvas, frame);
    drawOverlays(canvas, frame);
    drawLegend(canvas, frame);
}

void SceneRenderer::drawGrid(Canvas &canvas, const Frame &frame)
{
    canvas.setLineWidth(frame.widthScale);
    canvas.setColour(gridGrey);
    const ViewTransform &v = frame.view;
    // The right and top edges sit just inside the visible square so that
    // they fall on the last pixel row and column instead of outside: 0.01
    // world units at the reset view, the same share of the side at others.
    const double inset = v.side() * 0.0005;
    std::vector<float> border;
    for (const Vector &corner : {Vector(v.left(), v.top() - inset), Vector(v.left(), v.bottom()),
                                 Vector(v.right() - inset, v.bottom()), Vector(v.right() - inset, v.top() - inset)})
        put(border, corner);
    drawArray(canvas, Canvas::Shape::Loop, border);

    // The lattice of the reset view's lines (verticals counted from x = -10,
    // horizontals from y = 10), cut to the visible square; at the reset view
    // k runs from 0 while the line stays within -10..10. A grid denser than
    // a few pixels would only grey the view over.
    const int gridSpace = scene.backdrop.gridSpace;
    const double g = gridSpace;
    if (gridSpace <= 0 || g * frame.logicalSide / v.side() < Frame::minGridPixels)
        return;
    std::vector<float> lines;
    const auto first = static_cast<long long>(std::ceil((v.left() + 10) / g));
    const auto last = static_cast<long long>(std::floor((v.right() + 10) / g));
    for (long long k = first; k <= last; ++k) {
        put(lines, Vector(-10 + k * g, v.top()));
        put(lines, Vector(-10 + k * g, v.bottom()));
    }
    const auto top = static_cast<long long>(std::ceil((10 - v.top()) / g));
    const auto bottom = static_cast<long long>(std::floor((10 - v.bottom()) / g));
    for (long long k = top; k <= bottom; ++k) {
        put(lines, Vector(v.left(), 10 - k * g));
        put(lines, Vector(v.right(), 10 - k * g));
    }
    drawArray(canvas, Canvas::Shape::Pairs, lines);
}

void SceneRenderer::drawAxes(Canvas &canvas, const Frame &frame)
{
    if (!scene.backdrop.drawAxis)
        return;
    const ViewTransform &v = frame.view;
    canvas.setLineWidth(2.0f * frame.widthScale);
    canvas.setColour(gridGrey);
    std::vector<float> axes;
    for (const Vector &end : {Vector(v.left(), 0), Vector(v.right(), 0), Vector(0, v.top()), Vector(0, v.bottom())})
        put(axes, end);
    drawArray(canvas, Canvas::Shape::Pairs, axes);
    canvas.setLineWidth(frame.widthScale);
}

void SceneRenderer::drawPasses(Canvas &canvas, const Frame &frame)
{
    const SubdivisionPasses *passes = scene.passes();
    if (!scene.study().passes || !passes)
        return;
    if (!study.passes.holds(scene.version(), frame.worldPerUnit)) {
        study.setPasses(*passes, frame.worldPerUnit * Frame::displayTolerance);
        study.passes = {true, scene.version(), frame.worldPerUnit};
    }
    study.drawPasses(canvas, frame.simplifyPasses, frame.widthScale);
}

Frame SceneRenderer::laidOut(const Frame &frame) const
{
    Frame laid = frame;
    if (!simplify)
        laid.tolerance = 0.0;
    return laid;
}

void SceneRenderer::drawPolygon(Canvas &canvas, const Frame &frame)
{
    drawPolygon(canvas, laidOut(frame), scene.polygon());
}

void SceneRenderer::drawPolygon(Canvas &canvas, const Frame &frame, const ControlPoints &polygon)
{
    PolygonVertices layout;
    layout.fill(polygon, frame);
    layout.draw(canvas, frame);
}

void SceneRenderer::drawCompared(Canvas &canvas, const Frame &frame)
{
    for (int i = 1; i <= Schemes::count; ++i) {
        if (!scene.study().compared[static_cast<std::size_t>(i)] || i == scene.selected())
            continue;
        canvas.setColour(Schemes::row(i).colour);
        drawOutline(canvas, laidOut(frame), scene.curve(i), Scene::compareWidth);
    }
}

void SceneRenderer::drawOutline(Canvas &canvas, const Frame &frame, Curve &curve, float width)
{
    if (!curve.drawsCurve())
        return;
    const CurveVertices &shape = CurveLayout::of(curve, frame, false);
    canvas.setSmooth(true);
    canvas.setLineWidth(width * frame.widthScale);
    if (curve.drawnOpen())
        shape.drawPolyline(canvas, false, frame.repeatVertices);
    else
        shape.drawLoop(canvas, false, frame.repeatVertices);
    canvas.setLineWidth(frame.widthScale);
    canvas.setSmooth(false);
}

void SceneRenderer::drawSelected(Canvas &canvas, const Frame &frame)
{
    if (Curve *curve = scene.selectedCurve())
        drawCurve(canvas, laidOut(frame), *curve);
}

Curve *SceneRenderer::influencedCurve(std::uint64_t &made) const
{
    Curve *curve = scene.selectedCurve();
    if (!scene.study().influence || !curve || !curve->drawsCurve())
        return nullptr;
    // Every curve counts its own versions: the scheme tells them apart.
    made = curve->resultVersion() * (Schemes::count + 1) + std::uint64_t(curve->scheme());
    return curve;
}

void SceneRenderer::drawDisplacement(Canvas &canvas, const Frame &frame)
{
    std::uint64_t made = 0;
    const Curve *curve = influencedCurve(made);
    if (!curve)
        return;
    if (!influence.holdsDisplacement(made))
        influence.setDisplacement(*curve, made);
    influence.drawDisplacement(canvas);
    canvas.setLineWidth(frame.widthScale);
}

void SceneRenderer::drawSupport(Canvas &canvas, const Frame &frame)
{
    std::uint64_t made = 0;
    const Curve *curve = influencedCurve(made);
    if (!curve || frame.printPage)
        return;
    // The dragged point, or else the one under the pointer.
    std::optional<std::size_t> point;
    std::size_t index = 0;
    for (const Node<Point> *n = scene.polygon().points.head; n; n = n->next, ++index) {
        if (n->item->hasGhost) {
            point = index;
            break;
        }
        if (n->item->highlighted && !point)
            point = index;
    }
    const InfluenceLayer::Key key{made, point, CurveLayout::toleranceFor(*curve, laidOut(frame))};
    if (!influence.holdsSupport(key))
        influence.setSupport(*curve, point, key.tolerance, key);
    influence.drawSupport(canvas, frame.widthScale);
}

void SceneRenderer::drawCurve(Canvas &canvas, const Frame &frame, Curve &curve)
{
    if (!curve.drawsCurve())
        return;
    const bool shaded = curve.supportsDepthColour && curve.depthColour;
    const CurveVertices &vertices = CurveLayout::of(curve, frame, shaded);
    const float width = (shaded ? 5.0f : 3.0f) * frame.widthScale;
    const bool repeat = frame.repeatVertices;
    canvas.setSmooth(true);
    // Without a drag the ghost coincides with the curve and hides under it;
    // during a drag it shows the curve as it was before. A page has no
    // "under": there it would be written as a second copy of the curve.
    if (!frame.printPage || vertices.hasGhosts()) {
        canvas.setLineWidth(width);
        canvas.setColour(ghostGrey);
        curve.drawnOpen() ? vertices.drawPolyline(canvas, true, repeat) : vertices.drawLoop(canvas, true, repeat);
    }
    canvas.setLineWidth(width);
    canvas.setColour(Scene::curveColour);
    curve.drawnOpen() ? vertices.drawPolyline(canvas, false, repeat) : vertices.drawLoop(canvas, false, repeat);
    if (shaded) {
        // A grey core shaded by split depth over the wide coloured line.
        canvas.setLineWidth(3.0f * frame.widthScale);
        vertices.drawShaded(canvas, repeat);
    }
    canvas.setLineWidth(frame.widthScale);
    if (curve.curvePoints) {
        canvas.setPointSize(2.0f * frame.widthScale);
        canvas.setColour(frame.printColours ? printDark : white);
        vertices.drawPoints(canvas);
    }
    canvas.setSmooth(false);
}

void SceneRenderer::drawOverlays(Canvas &canvas, const Frame &frame)
{
    Curve *curve = scene.selectedCurve();
    if (!curve || !curve->drawsCurve())
        return;
    const double scale = frame.worldPerUnit;
    const Scene::Study &switches = scene.study();
    // Every curve counts its own versions: the scheme tells them apart.
    const std::uint64_t made = curve->resultVersion() * (Schemes::count + 1) + std::uint64_t(curve->scheme());
    if (switches.limit) {
        if (!study.limit.holds(scene.version(), scale)) {
            study.setLimit(scene.limit(), scale * Frame::displayTolerance);
            study.limit = {true, scene.version(), scale};
        }
        study.drawLimit(canvas, frame.widthScale);
    }
    if (switches.curvature) {
        const double pixel = scale * frame.widthScale;
        if (!study.comb.holds(made, pixel)) {
            // Teeth sized to the visible square, so that zooming in on a
            // stretch of curve keeps its comb the same size on screen, and
            // spaced for its pixels. The refining schemes draw closed
            // loops; the Bezier curve is an open polyline even on a closed
            // polygon.
            const double side = frame.view.side();
            study.setComb(CurvatureComb::along(*curve->result, !curve->drawnOpen(), combScalePerSide * side,
                                               longestToothPerSide * side, combTeeth,
                                               combSpacing * pixel));
            study.comb = {true, made, pixel};
        }
        study.drawComb(canvas, frame.widthScale);
    }
    if (switches.passes) {
        if (!study.marks.holds(made, 0.0)) {
            study.setMarks(*curve);
            study.marks = {true, made, 0.0};
        }
        study.drawMarks(canvas, frame.widthScale);
    }
}

void SceneRenderer::drawLegend(Canvas &canvas, const Frame &frame)
{
    legend.draw(canvas, frame, scene.legend(), font);
}
