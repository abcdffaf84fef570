#pragma once

#include "model/Scene.h"
#include "render/InfluenceLayer.h"
#include "render/LegendDrawing.h"
#include "render/StudyLayers.h"

#include <QFont>

#include <vector>

class Canvas;
class Curve;
struct Frame;

// Draws a Scene, written once for every output: the screen, an image and
// a page differ only in the Canvas they draw on and the Frame they are
// given. The picture, in drawing order: grid and axes (when the frame has
// a backdrop), the selected scheme's passes, the shaded displacement of a
// drag (Show Influence), the control polygon, the compared curves, the
// halo of the support of the control point under the pointer (Show
// Influence, not on a page), the selected curve, its limit, curvature comb
// and pass marks, and the comparison legend. Drawing changes nothing in the scene
// but the layouts kept for drawing (the curves' drawingCache and the
// study's layers): all subdivision and measurement happened in
// Scene::update().
class SceneRenderer
{
public:
    // Draws scene (not owned; it must outlive the renderer).
    explicit SceneRenderer(Scene &scene);

    // The whole picture.
    void draw(Canvas &canvas, const Frame &frame);

    // The steps of draw(), each nothing where the scene has nothing to
    // show. drawGrid: the border of the visible square (its right and top
    // edges a two-thousandth of the side inside) and the grid lines
    // x = -10 + k * gridSpace and y = 10 - k * gridSpace across it,
    // verticals left to right, then horizontals top to bottom, grey, width
    // 1, none closer than Frame::minGridPixels. drawAxes: the two axes
    // through the origin across the square at width 2.
    void drawGrid(Canvas &canvas, const Frame &frame);
    void drawAxes(Canvas &canvas, const Frame &frame);
    void drawPasses(Canvas &canvas, const Frame &frame);
    // Ghost edges of a drag, the points in their state colours, the
    // polygon, highlighted edges and rings round the selected points (the
    // last two and the state colours not on a page); on screen simplified
    // for the view (PolygonVertices).
    void drawPolygon(Canvas &canvas, const Frame &frame);
    void drawCompared(Canvas &canvas, const Frame &frame);
    // The selected curve: its ghost, the curve, the depth shading of a
    // Bezier curve and the dots.
    void drawSelected(Canvas &canvas, const Frame &frame);
    // Show Influence: the band between the selected curve and its ghost
    // during a drag; the halo of the support of the dragged control point,
    // or else of the one under the pointer (not on a page).
    void drawDisplacement(Canvas &canvas, const Frame &frame);
    void drawSupport(Canvas &canvas, const Frame &frame);
    // The limit, the comb and the pass marks over the selected curve.
    void drawOverlays(Canvas &canvas, const Frame &frame);
    void drawLegend(Canvas &canvas, const Frame &frame);

    // The same for any polygon and any curve: polygon as the control
    // polygon is drawn; curve alone (no ghost, no dots, no shading) at
    // width, in the canvas's current colour; curve as the selected curve is
    // drawn. Nothing where a curve draws nothing.
    static void drawPolygon(Canvas &canvas, const Frame &frame, const ControlPoints &polygon);
    static void drawOutline(Canvas &canvas, const Frame &frame, Curve &curve, float width);
    static void drawCurve(Canvas &canvas, const Frame &frame, Curve &curve);

    // The study's layers as last laid out (for reports and tests).
    const StudyLayers &studyLayers() const { return study; }
    const InfluenceLayer &influenceLayer() const { return influence; }
    // The font of the legend's picture and of its text's row height.
    QFont font;
    // Draw on screen every vertex of the curves instead of the simplified
    // layout (for comparing the two); on by default.
    bool simplify = true;

private:
    // frame, with every vertex drawn when simplify is off.
    Frame laidOut(const Frame &frame) const;

    // The selected curve while Show Influence is on and it draws, with
    // the key of its result (scheme and version).
    Curve *influencedCurve(std::uint64_t &made) const;

    Scene &scene;
    StudyLayers study;
    InfluenceLayer influence;
    LegendDrawing legend;
};
