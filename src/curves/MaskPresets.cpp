#include "curves/MaskPresets.h"

#include <cmath>

Mask MaskPresets::fourPoint(double w)
{
    return Mask(2, {-w, 0.0, 0.5 + w, 1.0, 0.5 + w, 0.0, -w});
}

Mask MaskPresets::sixPoint()
{
    std::vector<double> a{3, 0, -25, 0, 150, 256, 150, 0, -25, 0, 3};
    for (double &c : a)
        c /= 256.0;
    return Mask(2, std::move(a));
}

Mask MaskPresets::bspline(int degree, int arity)
{
    // Multiply out (1 + z + .. + z^(m-1)) degree + 1 times.
    std::vector<double> a{1.0};
    for (int k = 0; k <= degree; ++k) {
        std::vector<double> next(a.size() + std::size_t(arity) - 1, 0.0);
        for (std::size_t i = 0; i < a.size(); ++i)
            for (std::size_t j = 0; j < std::size_t(arity); ++j)
                next[i + j] += a[i];
        a = std::move(next);
    }
    const double scale = std::pow(double(arity), degree);
    for (double &c : a)
        c /= scale;
    return Mask(arity, std::move(a));
}

std::vector<MaskPresets::Preset> MaskPresets::all(double w)
{
    std::vector<Preset> presets{{"Four-Point", fourPoint(w), true}, {"Six-Point", sixPoint(), false}};
    for (int degree = 1; degree <= 5; ++degree)
        presets.push_back({"B-Spline, Degree " + std::to_string(degree), bspline(degree, 2), false});
    for (int degree = 1; degree <= 3; ++degree)
        presets.push_back({"Ternary B-Spline, Degree " + std::to_string(degree), bspline(degree, 3), false});
    return presets;
}
