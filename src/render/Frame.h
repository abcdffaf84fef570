#pragma once

#include "geometry/ViewTransform.h"

#include <cstdint>

// Where a picture goes and how it looks there: the part of the plane shown,
// the size of a device unit, how finely curves are laid out, widths and
// colours. The screen, an image and a page differ only in their frame,
// which every drawing is given; nothing is switched globally. The factory
// functions make the program's frames from the view's square and its
// world units per device unit.
struct Frame
{
    // How the comparison legend is drawn: a picture in the corner (the
    // screen and its images), the curves' names as text in their colours
    // (the PostScript pages), or a swatch and a black name per curve (the
    // other pages).
    enum class Legend { Picture, Names, Swatches };

    // The visible square.
    ViewTransform view;
    // World units per device unit (pixel or point); 0 before the view has
    // a size. What the study's layouts (limit, passes, comb) are made for.
    double worldPerUnit = 0.0;
    // The square's side in logical pixels: grid lines closer than
    // minGridPixels of these are left out, and text is placed in them.
    double logicalSide = 0.0;
    // Curves are drawn simplified within this many world units (0: every
    // vertex), but only those of more than wholeUpTo segments when that is
    // above 0.
    double tolerance = 0.0;
    std::uint32_t wholeUpTo = 0;
    // Every width and size multiplied by this.
    float widthScale = 1.0f;
    // Grid and axes behind the curves.
    bool backdrop = true;
    // The polygon and the curves' dots dark, for white paper.
    bool printColours = false;
    // A page: no interface state (selection, highlights), a curve's ghost
    // only while a point is dragged.
    bool printPage = false;
    // Loops and polylines as feedback capture has always seen them: every
    // inner vertex twice (p1 p2, p2 p3, ..., pn p1), open curves as pairs.
    bool repeatVertices = false;
    // The pass polygons simplified like the curves (on screen), or whole.
    bool simplifyPasses = true;
    Legend legend = Legend::Picture;
    // Device pixels per logical pixel for the legend's picture.
    double legendRatio = 1.0;

    // Grid lines closer together than this, in logical pixels, are left out.
    static constexpr double minGridPixels = 4.0;
    // On screen a curve stays within this many device pixels of the exact
    // one: runs of vertices that stay this close to a line are one segment.
    static constexpr double displayTolerance = 1.0 / 9.0;
    // A page or PostScript file draws a curve of more segments than this
    // simplified, within printTolerance device units: about the most an
    // export writes in a few seconds and tens of megabytes.
    static constexpr std::uint32_t printSegmentLimit = 250000;
    static constexpr double printTolerance = 0.01;

    // The view on screen: worldPerPixel world units per device pixel,
    // logicalSide logical pixels, lines twice as wide with presentation.
    static Frame screen(const ViewTransform &view, double worldPerPixel, double logicalSide, double pixelRatio,
                        bool presentation);
    // The view drawn scale times larger into an image, lines as much wider.
    static Frame image(const ViewTransform &view, double worldPerPixel, double logicalSide, double pixelRatio,
                       int scale);
    // The view recorded for PostScript as it shows (the described export):
    // no grid, the view's widths, the feedback sequence of vertices.
    static Frame postScript(const ViewTransform &view, double worldPerPixel, double logicalSide);
    // The view's square on a page of pageSide points: no grid, widths in
    // points as on screen in pixels.
    static Frame page(const ViewTransform &view, double pageSide, bool printColours);
};
