#include "geometry/DrawStyle.h"

#include <GL/gl.h>

namespace {

const DrawStyle screenStyle;

} // namespace

const DrawStyle *DrawStyle::active = &screenStyle;

const DrawStyle &DrawStyle::current()
{
    return *active;
}

bool DrawStyle::onScreen()
{
    return active == &screenStyle;
}

void DrawStyle::lineWidth(float pixels)
{
    const float width = pixels * active->widthScale;
    glLineWidth(width);
    if (active->lineWidthHook)
        active->lineWidthHook(width);
}

void DrawStyle::pointSize(float pixels)
{
    const float size = pixels * active->widthScale;
    glPointSize(size);
    if (active->pointSizeHook)
        active->pointSizeHook(size);
}

DrawStyle::Scope::Scope(const DrawStyle &style) : previous(active)
{
    active = &style;
}

DrawStyle::Scope::~Scope()
{
    active = previous;
}
