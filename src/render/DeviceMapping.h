#pragma once

#include <QPointF>
#include <QRect>

class ViewTransform;

// From world coordinates to a device's: x' = scaleX x + offsetX,
// y' = scaleY y + offsetY, scaleY negative for a device whose y runs down.
struct DeviceMapping
{
    double scaleX = 1.0;
    double offsetX = 0.0;
    double scaleY = 1.0;
    double offsetY = 0.0;

    QPointF map(double x, double y) const { return {scaleX * x + offsetX, scaleY * y + offsetY}; }

    // view's square scaled into a page of pageSide points and cut to box
    // (points, y up from the page's bottom-left corner), with the box's
    // corner at the device's origin: the top-left one when yDown, else the
    // bottom-left one.
    static DeviceMapping page(const ViewTransform &view, int pageSide, const QRect &box, bool yDown);
    // view's square as an image of side pixels, y down.
    static DeviceMapping image(const ViewTransform &view, int side);
};
