#pragma once

#include <array>
#include <string_view>

// The five subdivision schemes (the four built in and the custom mask)
// and the one table of what the program calls them. A scheme is a number, 1 to count, with 0 for "none selected": the
// position of its curve in the scene's curve list, the index of the panel's
// scheme box, the "scheme" of a polygon file and the argument of the view's
// setCurrentCurve all use these numbers, so every name, title, file key and
// colour of a scheme is looked up here instead of in tables of their own.
struct Schemes
{
    enum Id : int { None = 0, Bezier = 1, Chaikin = 2, BSpline = 3, Proposed = 4, Custom = 5 };
    static constexpr int count = 5;

    // One scheme's words and colour. Pointers to static strings.
    struct Row
    {
        const char *key;             // file and command-line key: "bspline" ("none" for None)
        const char *name;            // panel, study box and legend: "Cubic B-Spline" ("Select Curve" for None)
        const char *title;           // a page's title: "Cubic B-Spline curve" ("Control Points" for None)
        const char *selected;        // the message on selection: "Cubic B-Spline curve selected"
        const char *compareBox;      // object name of its Compare check box ("" for None)
        std::array<float, 3> colour; // red, green, blue of a compared curve, 0..1 (black for None)
    };

    // The row of scheme 0..count; any other number gives row 0.
    static const Row &row(int scheme);
    // True for 1..count.
    static bool isScheme(int scheme) { return scheme >= Bezier && scheme <= count; }
    // True for the schemes that refine a polygon level by level by a mask
    // (Chaikin, the cubic B-spline, the proposed scheme, the custom mask).
    static bool refines(int scheme) { return scheme >= Chaikin && scheme <= count; }
    // The scheme whose key is key, None included; -1 for any other text.
    static int ofKey(std::string_view key);
};
