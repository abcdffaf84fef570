#pragma once

#include "render/Canvas.h"

// The greys that the polygon's and the curves' drawings share: what was
// there before a drag, and the dark grey that replaces the screen's yellow
// and white on paper.
namespace Palette {

constexpr Canvas::Colour ghostGrey{0.6f, 0.6f, 0.6f};
constexpr Canvas::Colour printDark{0.15f, 0.15f, 0.15f};

} // namespace Palette
