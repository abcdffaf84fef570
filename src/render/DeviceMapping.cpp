#include "render/DeviceMapping.h"

#include "geometry/ViewTransform.h"

DeviceMapping DeviceMapping::page(const ViewTransform &view, int pageSide, const QRect &box, bool yDown)
{
    const double scale = pageSide / view.side();
    DeviceMapping mapping;
    mapping.scaleX = scale;
    mapping.offsetX = -view.left() * scale - box.x();
    if (yDown) {
        mapping.scaleY = -scale;
        mapping.offsetY = view.bottom() * scale + box.y() + box.height();
    } else {
        mapping.scaleY = scale;
        mapping.offsetY = -view.bottom() * scale - box.y();
    }
    return mapping;
}

DeviceMapping DeviceMapping::image(const ViewTransform &view, int side)
{
    const double scale = side / view.side();
    return {scale, -view.left() * scale, -scale, view.top() * scale};
}
