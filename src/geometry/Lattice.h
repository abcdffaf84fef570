#pragma once

#include "geometry/Vector.h"

#include <cmath>

// A square lattice of points that placed and dragged points land on: the
// grid's crossings (Ctrl while dragging), or the decimals of a view's
// pixel, so that a clicked point is stored as 6 and not as
// 6.000000000000001. A lattice of step 0 leaves every point where it is.
struct Lattice
{
    double step = 0.0;                // world units between neighbours; <= 0: no lattice
    double originX = 0.0, originY = 0.0; // a point of the lattice

    // The lattice point nearest to p (z kept); p itself without a lattice.
    Vector nearest(const Vector &p) const
    {
        if (!(step > 0.0))
            return p;
        return {snap(p.x(), originX), snap(p.y(), originY), p.z()};
    }

    // The decimals of a pixel: the largest step 10^k (k an integer) that
    // is at most unitsPerPixel, so that no point moves by more than half a
    // pixel and every coordinate is a short decimal. No lattice for a size
    // that is not a positive finite number.
    static Lattice decimalFor(double unitsPerPixel)
    {
        if (!(unitsPerPixel > 0.0) || !std::isfinite(unitsPerPixel))
            return {};
        return {std::pow(10.0, std::floor(std::log10(unitsPerPixel))), 0.0, 0.0};
    }

private:
    double snap(double value, double origin) const
    {
        const double k = std::round((value - origin) / step);
        // A step of 1 / n (a decimal's 10^-k) is not a double: k / n, a
        // division by an exact integer, is the nearest double to the
        // decimal, where k * step can be off by one in the last place.
        const double perUnit = std::round(1.0 / step);
        const bool fraction = step < 1.0 && std::abs(perUnit * step - 1.0) < 1e-12;
        return origin + (fraction ? k / perUnit : k * step);
    }
};
