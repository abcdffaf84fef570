#pragma once

#include "curves/Mask.h"

#include <functional>
#include <optional>

// The Hoelder regularity bounds of a family of masks against its weight
// (u of a built-in scheme, w of the four-point scheme), value by value over
// a range, for the laboratory's plot. Each value is analysed on its own
// (MaskAnalysis), so the sweep can be run value by value from a background
// thread and shown as it comes in.
class RegularitySweep
{
public:
    // Values swept over a range.
    static constexpr int defaultCount = 200;

    // One value of the weight and what the analysis proved there: the
    // bounds (empty where the scheme does not converge) and the smoothness
    // C^k (-1: not even continuity).
    struct Sample
    {
        double weight = 0.0;
        std::optional<double> lower, upper;
        int smoothness = -1;
    };

    // maskAt gives the mask at a weight (it must give masks Mask accepts
    // over the whole range); count values from low to high, both included
    // (count >= 2).
    RegularitySweep(std::function<Mask(double)> maskAt, double low, double high, int count = defaultCount);

    int count() const { return values; }
    // The weight of value i (0 .. count() - 1).
    double weight(int i) const;
    // The analysis at value i; a few milliseconds for a mask of 7 to 11
    // coefficients. Safe from several threads at once.
    Sample at(int i) const;

private:
    std::function<Mask(double)> maskAt;
    double low, high;
    int values;
};
