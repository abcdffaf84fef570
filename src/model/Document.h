#pragma once

#include "curves/Mask.h"
#include "curves/MaskPresets.h"
#include "curves/Schemes.h"
#include "geometry/Vector.h"
#include "geometry/ViewTransform.h"

#include <array>
#include <vector>

// Everything a polygon file keeps, as a plain value: the control polygon,
// the selected scheme, each scheme's settings and the view settings. The
// scene gives one (Scene::document) and takes one (Scene::apply); the files
// read and write one (DocumentFile). A default-constructed document is the
// program's start-up state.
class Document
{
public:
    // One scheme's settings as the panel sets them. Every scheme has all
    // six; only Bezier uses precision and depthColour, only the others
    // use level and openEnds, and the custom mask uses no u.
    struct SchemeSettings
    {
        double u = 0.5;
        double precision = 0.2; // longest Bezier edge, world units
        int level = 0;          // passes of a refining scheme
        bool depthColour = false;
        bool curvePoints = false;
        bool openEnds = false;  // a refining scheme refines an open polygon too
        bool operator==(const SchemeSettings &) const = default;
    };

    // Schemes are numbered as Schemes numbers them, 1 to schemeCount;
    // 0 selects none.
    static constexpr int schemeCount = Schemes::count;
    // Coordinates lie within -reach..reach on both axes: where the view
    // can place and drag a point.
    static constexpr double reach = ViewTransform::reach;
    // Most points a document may hold.
    static constexpr int maxPoints = 100000;
    // The ranges the panel can produce, ends included.
    static constexpr double minU = -1.0;
    static constexpr double maxU = 0.99;
    static constexpr double minPrecision = 0.05;
    static constexpr double maxPrecision = 10.0;
    static constexpr int maxLevel = 99;
    static constexpr int maxGridSpacing = 10;

    // The start-up state: no points, open, no scheme, Chaikin u 0.75 and
    // u 0.5 elsewhere, precision 0.2, levels 0, flags off, the custom
    // mask the four-point scheme at w = 1/16, axes on, grid 2.
    Document();

    // Settings of scheme 1..schemeCount; the index is not checked.
    SchemeSettings &settings(int scheme) { return schemes[static_cast<std::size_t>(scheme - 1)]; }
    const SchemeSettings &settings(int scheme) const { return schemes[static_cast<std::size_t>(scheme - 1)]; }

    // The u stored for the u slider at hundredths (-100..100): hundredths
    // x 0.01, except that 0 becomes 0.01 and 1 becomes 0.99, because a
    // weight of exactly 0 or 1 makes new points coincide with old ones.
    // Other values, also outside the slider's range, are scaled as they are.
    static double uFromSlider(int hundredths);
    // The precision stored for the precision slider at tenths (0..100):
    // tenths x 0.1, except that 0 becomes 0.05 (0 would split for ever).
    static double precisionFromSlider(int tenths);
    // For u in minU..maxU: what the slider position whose stored value is
    // nearest to u stores, so that showing it in the panel changes nothing.
    static double nearestU(double u);
    // The same for a precision in minPrecision..maxPrecision.
    static double nearestPrecision(double precision);

    std::vector<Vector> points; // in polygon order, z = 0
    bool closed = false;
    int scheme = 0; // 0 none, 1..schemeCount
    std::array<SchemeSettings, schemeCount> schemes;
    // The custom scheme's mask: affine invariant (every sub-mask sums to 1).
    Mask customMask = MaskPresets::fourPoint(MaskPresets::fourPointTension);
    bool axis = true;
    int gridSpacing = 2; // world units; 0 draws the border only

    // Exact comparison of every member (coordinates bit for bit, except
    // that 0 and -0 are equal).
    bool operator==(const Document &) const = default;
};
