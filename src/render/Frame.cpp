#include "render/Frame.h"

Frame Frame::screen(const ViewTransform &view, double worldPerPixel, double logicalSide, double pixelRatio,
                    bool presentation)
{
    Frame frame;
    frame.view = view;
    frame.worldPerUnit = worldPerPixel;
    frame.logicalSide = logicalSide;
    frame.tolerance = worldPerPixel * displayTolerance;
    frame.widthScale = presentation ? 2.0f : 1.0f;
    frame.legendRatio = pixelRatio;
    return frame;
}

Frame Frame::image(const ViewTransform &view, double worldPerPixel, double logicalSide, double pixelRatio, int scale)
{
    // The curves are simplified for the finer pixel, as at a zoom.
    Frame frame = screen(view, worldPerPixel / scale, logicalSide, pixelRatio * scale, false);
    frame.widthScale = static_cast<float>(scale);
    return frame;
}

Frame Frame::postScript(const ViewTransform &view, double worldPerPixel, double logicalSide)
{
    Frame frame;
    frame.view = view;
    frame.worldPerUnit = worldPerPixel;
    frame.logicalSide = logicalSide;
    frame.tolerance = printTolerance * worldPerPixel;
    frame.wholeUpTo = printSegmentLimit;
    frame.backdrop = false;
    frame.repeatVertices = true;
    frame.simplifyPasses = false;
    frame.legend = Legend::Names;
    return frame;
}

Frame Frame::page(const ViewTransform &view, double pageSide, bool printColours)
{
    Frame frame;
    frame.view = view;
    frame.worldPerUnit = view.side() / pageSide;
    frame.logicalSide = pageSide;
    frame.tolerance = printTolerance * frame.worldPerUnit;
    frame.wholeUpTo = printSegmentLimit;
    frame.backdrop = false;
    frame.printColours = printColours;
    frame.printPage = true;
    frame.simplifyPasses = false;
    frame.legend = Legend::Swatches;
    return frame;
}
