#pragma once

#include "curves/PolylineSimplifier.h"
#include "geometry/List.h"
#include "geometry/Point.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <vector>

class Canvas;
class CurvatureComb;
class Curve;
class LimitCurve;
class SubdivisionPasses;

// What the "Study" box adds to a picture beside the curves, laid out in
// vertex arrays once and drawn on every drawing until the renderer asks
// for a new layout: the polygons of the passes, the marks of the last
// pass's points, the closed-form limit, the curvature comb and the
// comparison legend's picture. It only lays out and draws, through a
// Canvas; the values come from the scene (src/model, src/analysis), and
// the renderer decides when each part is laid out again. Each draw
// function leaves the line width and point size at 1 (times the width
// scale it is given) and the canvas plain.
class StudyLayers
{
public:
    // Most marks setMarks() lays out; a longer curve gets none, since its
    // marks would cover each other and the curve.
    static constexpr std::size_t maxMarks = 16384;

    // A part is valid while its layout still shows the scene as it is:
    // version is the scene's or the curve's (whichever the part comes
    // from), scale the world units per device unit it was made for.
    struct Validity
    {
        bool valid = false;
        std::uint64_t version = 0;
        double scale = 0.0;
        bool holds(std::uint64_t currentVersion, double currentScale) const
        {
            return valid && version == currentVersion && scale == currentScale;
        }
    };
    Validity passes, marks, limit, comb;

    // The polygons of passes (levels 0 to k - 1) as loops, each also
    // simplified within tolerance world units for the screen.
    void setPasses(const SubdivisionPasses &passes, double tolerance);
    // The loops, level 0 first, in greys from 0.65 (level 0) to 0.30
    // (level k - 1), simplified or whole.
    void drawPasses(Canvas &canvas, bool simplified, float widthScale) const;
    // Marks at the points of curve's result by the role the last pass
    // gave them (SubdivisionPasses::roleIn): none at level 0, without a
    // result, or past maxMarks.
    void setMarks(const Curve &curve);
    // Inserted points as black squares, then moved points as white ones,
    // 6 device units wide (times widthScale).
    void drawMarks(Canvas &canvas, float widthScale) const;
    // The limit sampled within tolerance world units; null lays out none.
    void setLimit(const LimitCurve *curve, double tolerance);
    // The limit as one thin black line, a loop when closed.
    void drawLimit(Canvas &canvas, float widthScale) const;
    // The comb's teeth and the outline through their tips.
    void setComb(const CurvatureComb &comb);
    // Teeth at width 1, then the outline at width 1.5, both white.
    void drawComb(Canvas &canvas, float widthScale) const;

    // The legend picture in device pixels; a null image shows none.
    void setLegend(const QImage &image);
    const QImage &legendImage() const { return legend; }
    // The legend deviceMargin pixels inside the canvas's top-left corner.
    void drawLegend(Canvas &canvas, int deviceMargin) const;

    // Number of marks of each kind and of teeth laid out (for reports and
    // tests).
    std::size_t insertedMarks() const { return inserted.size() / 2; }
    std::size_t movedMarks() const { return moved.size() / 2; }
    std::size_t teeth() const { return teethVertices.size() / 4; }

private:
    struct Loop
    {
        std::vector<float> full; // x, y per vertex
        PolylineSimplifier shown;
    };

    std::vector<Loop> loops;
    std::vector<float> inserted, moved;
    std::vector<float> limitVertices;
    bool limitClosed = false;
    std::vector<float> teethVertices, outlineVertices;
    bool outlineClosed = false;
    QImage legend; // RGBA, not premultiplied, as glDrawPixels takes it
};
