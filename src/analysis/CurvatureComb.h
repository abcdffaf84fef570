#pragma once

#include "geometry/List.h"
#include "geometry/Point.h"

#include <cstddef>
#include <vector>

// A curvature comb along a curve's points, for drawing: at each tooth's
// point a segment along the normal whose length is the discrete
// curvature there (DiscreteCurvature: the signed Menger curvature of the
// point and its nearest neighbours at other positions) times a scale, on
// the outside of the turn, so that the teeth change side where the curve
// turns the other way; the comb's outline joins the teeth's tips.
//
// A long curve gets at most maxTeeth teeth: every point while there are
// that few, otherwise every s-th point from the first, s = ceil(N /
// maxTeeth). With a spacing, a tooth also stands no closer than that,
// measured along the curve's chords from one of those points to the next,
// to the tooth before it: the teeth a view can tell apart at any level. A
// tooth always measures the curve's own neighbours of its point, so the
// stride and the spacing change where teeth stand, not how long they are.
// Cost: O(N) for walking the list plus O(1) per tooth; memory O(teeth).
class CurvatureComb
{
public:
    struct Tooth
    {
        Vector base;            // the curve point (z = 0)
        Vector tip;             // base - length * normal, the length cut to longest
        double curvature = 0.0; // signed, 1 / world units, as DiscreteCurvature gives it
    };

    // The comb of points (a closed loop when closed, else an open
    // polyline; z ignored). scale: tooth length in world units per unit of
    // curvature (world units squared, > 0); longest: teeth longer than
    // this (world units) are cut to it. maxTeeth >= 1 (0 counts as 1).
    // spacing: the least distance between teeth along the curve, world
    // units (0: none).
    static CurvatureComb along(const List<Point> &points, bool closed, double scale, double longest,
                               std::size_t maxTeeth, double spacing = 0.0);

    std::vector<Tooth> teeth; // in curve order
    bool closed = false;      // the outline through the tips closes
    std::size_t stride = 1;   // teeth stand at every stride-th point
};
