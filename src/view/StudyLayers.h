#pragma once

#include "curves/PolylineSimplifier.h"
#include "geometry/List.h"
#include "geometry/Point.h"

#include <QImage>

#include <cstddef>
#include <vector>

class CurvatureComb;
class LimitCurve;
struct SubdivisionPasses;

// What the "Study" box adds to the view beside the curves, laid out in
// vertex arrays once and drawn on every paint until the view asks for a
// new layout: the polygons of the passes, the marks of the last pass's
// points, the closed-form limit, the curvature comb and the comparison
// legend. It only lays out and draws (OpenGL 1.1, the current context);
// the values come from src/analysis, and the view decides when each part
// is laid out again (GLBoxStudy.cpp). Feedback mode, and so the export,
// sees every vertex; on screen the pass polygons are simplified like the
// curves. Each draw function leaves the line width and point size at 1 and
// smoothing and blending off.
class StudyLayers
{
public:
    // Most marks setMarks() lays out; a longer curve gets none, since its
    // marks would cover each other and the curve.
    static constexpr std::size_t maxMarks = 16384;

    // A part is valid while its layout still shows the curve and the view
    // as they are; scale is the view's world units per device pixel that
    // the layout was made for.
    struct Validity
    {
        bool valid = false;
        double scale = 0.0;
        bool holds(double currentScale) const { return valid && scale == currentScale; }
    };
    Validity passes, marks, limit, comb;

    // Every part no longer valid (the curve changed); memory stays for the
    // next layout.
    void invalidate();
    // Frees every part.
    void clear();

    // The polygons of passes (levels 0 to k - 1) as loops, each also
    // simplified within tolerance world units for the screen.
    void setPasses(const SubdivisionPasses &passes, double tolerance, double scale);
    // The loops, level 0 first, in greys from 0.65 (level 0) to 0.30
    // (level k - 1), width 1.
    void drawPasses() const;
    // Marks at the points of result (level reached >= 1 of scheme, as
    // SchemeSetup numbers it) by the role the last pass gave them
    // (SubdivisionPasses::roleAt): none at level 0 or past maxMarks.
    void setMarks(const List<Point> &result, int scheme, int reachedLevel, double scale);
    // Inserted points as black squares, then moved points as white ones,
    // 6 device pixels wide.
    void drawMarks() const;
    // The limit sampled within tolerance world units; null lays out none.
    void setLimit(const LimitCurve *curve, double tolerance, double scale);
    // The limit as one thin black line (width 1), a loop when closed.
    void drawLimit() const;
    // The comb's teeth and the outline through their tips.
    void setComb(const CurvatureComb &comb, double scale);
    // Teeth at width 1, then the outline at width 1.5, both white.
    void drawComb() const;

    // The legend picture in device pixels; a null image shows none.
    void setLegend(const QImage &image);
    const QImage &legendImage() const { return legend; }
    // The legend with its top-left corner deviceMargin pixels inside the
    // top-left corner of a viewport of the given device size, on screen
    // only: feedback mode (the export) gets no pixels.
    void drawLegend(int viewportWidth, int viewportHeight, int deviceMargin) const;

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
