#include "curves/Schemes.h"

namespace {

// The compared colours are distinct from the selected curve's lilac, the
// polygon's yellow and the greys of grid, ghost and passes, and readable on
// the view's grey background.
constexpr std::array<Schemes::Row, Schemes::count + 1> rows{{
    {"none", "Select Curve", "Control Points", "No curve selected", "", {0.0f, 0.0f, 0.0f}},
    {"bezier", "Bezier", "Bezier curve", "Bezier curve selected", "compareBezierCheckBox", {0.90f, 0.45f, 0.0f}},
    {"chaikin", "Chaikin", "Chaikin curve", "Chaikin curve selected", "compareChaikinCheckBox",
     {0.0f, 0.50f, 0.10f}},
    {"bspline", "Cubic B-Spline", "Cubic B-Spline curve", "Cubic B-Spline curve selected", "compareBSplineCheckBox",
     {0.10f, 0.25f, 0.85f}},
    {"proposed", "Vantrell Proposed", "Dr. Vantrell proposed curve", "Vantrell proposed curve selected",
     "compareProposedCheckBox", {0.70f, 0.0f, 0.35f}},
    {"custom", "Custom Mask", "Custom Mask curve", "Custom Mask curve selected", "compareCustomCheckBox",
     {0.45f, 0.25f, 0.05f}},
}};

} // namespace

const Schemes::Row &Schemes::row(int scheme)
{
    return rows[static_cast<std::size_t>(scheme >= 0 && scheme <= count ? scheme : 0)];
}

int Schemes::ofKey(std::string_view key)
{
    for (int scheme = 0; scheme <= count; ++scheme)
        if (key == rows[static_cast<std::size_t>(scheme)].key)
            return scheme;
    return -1;
}
