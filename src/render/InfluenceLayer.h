#pragma once

#include "curves/PolylineSimplifier.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class Canvas;
class Curve;

// What "Show Influence" adds to a picture: the part of the selected curve
// that one control point moves (its support, Curve::influence), drawn as a
// wide orange halo beneath the curve, and during a drag the area between
// the curve and its ghost, the curve as it was when the drag began,
// shaded. Laid out from the curve's result when the renderer asks, drawn
// on every drawing until then; it only lays out and draws, through a
// Canvas. Each draw function leaves the line width at 1 (times its width
// scale) and the canvas plain.
class InfluenceLayer
{
public:
    // At most this many quadrilaterals shade a displacement: every k-th
    // point of a longer curve, which at that density looks the same.
    static constexpr std::size_t maxQuads = 4096;
    // The halo's width in device units (the curve's is 3).
    static constexpr float haloWidth = 9.0f;

    // What a layout was made from: the curve's result (its scheme and
    // version), the control point, and the tolerance.
    struct Key
    {
        std::uint64_t made = 0;
        std::optional<std::size_t> point;
        double tolerance = 0.0;
        bool operator==(const Key &) const = default;
    };

    // The support of control point (0-based) on curve's result, a polyline
    // simplified within tolerance world units (0: every vertex); nothing
    // without a point or a support. key tells the layout apart.
    void setSupport(const Curve &curve, std::optional<std::size_t> point, double tolerance, const Key &key);
    // The band between each point's ghost and its position, along the
    // points that have a ghost (a drag is under way); nothing without.
    void setDisplacement(const Curve &curve, std::uint64_t made);
    // True while the layouts were made from key and made.
    bool holdsSupport(const Key &key) const { return supportKey && *supportKey == key; }
    bool holdsDisplacement(std::uint64_t made) const { return displacementMade && *displacementMade == made; }

    void drawDisplacement(Canvas &canvas) const;
    void drawSupport(Canvas &canvas, float widthScale) const;

    // Vertices of the support's polyline and quadrilaterals of the band
    // (for reports and tests).
    std::size_t supportVertices() const { return line.size(); }
    std::size_t displacementQuads() const { return band.size() >= 8 ? band.size() / 4 - 1 : 0; }

private:
    PolylineSimplifier line;                // the support, simplified
    std::vector<float> band;                // ghost, position, ghost, position, ... as x, y pairs
    std::optional<Key> supportKey;
    std::optional<std::uint64_t> displacementMade;
};
