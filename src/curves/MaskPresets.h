#pragma once

#include "curves/Mask.h"

#include <string>
#include <vector>

// The masks offered ready-made for the custom scheme, from the subdivision
// literature: the four-point interpolatory scheme with its tension w, the
// six-point interpolatory scheme, and the B-splines of arity 2 and 3.
class MaskPresets
{
public:
    // The four-point scheme's usual tension, where it gains its fourth sum
    // rule; and the range the panel offers (C1 for 0 < w < (sqrt 5 - 1)/8).
    static constexpr double fourPointTension = 1.0 / 16.0;
    static constexpr double smallestTension = 0.0;
    static constexpr double largestTension = 0.2;

    // 2: -w, 0, 1/2 + w, 1, 1/2 + w, 0, -w.
    static Mask fourPoint(double w);
    // 2: 3 0 -25 0 150 256 150 0 -25 0 3 / 256.
    static Mask sixPoint();
    // The B-spline of degree (1 and up) and arity (2 or 3): the
    // coefficients of (1 + z + .. + z^(m-1))^(degree + 1) / m^degree.
    static Mask bspline(int degree, int arity);

    // One entry of the list of presets.
    struct Preset
    {
        std::string name; // "Six-Point", "B-Spline, Degree 3", "Ternary B-Spline, Degree 2"
        Mask mask;
        bool tension;     // the four-point scheme, whose w is set apart
    };
    // Every preset, in the order the panel lists them, the four-point
    // scheme at tension w.
    static std::vector<Preset> all(double w = fourPointTension);
};
