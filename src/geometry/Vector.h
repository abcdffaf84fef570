#pragma once

#include <array>
#include <cmath>

// A position or offset in world units: x, y and z, addressed 0 to 2.
// The coordinates live inline (no heap block), because every generated
// curve point holds two of these and high subdivision levels make millions.
class Vector
{
public:
    Vector() = default;
    Vector(double x, double y, double z = 0.0) : coords{x, y, z} {}

    // Coordinate i, 0 <= i <= 2.
    double &operator[](int i) { return coords[static_cast<std::size_t>(i)]; }
    double operator[](int i) const { return coords[static_cast<std::size_t>(i)]; }

    double x() const { return coords[0]; }
    double y() const { return coords[1]; }
    double z() const { return coords[2]; }

    // Component-wise sum, scaling and division; each returns a new vector.
    Vector operator+(const Vector &other) const
    {
        return {coords[0] + other.coords[0], coords[1] + other.coords[1], coords[2] + other.coords[2]};
    }
    Vector operator*(double s) const { return {coords[0] * s, coords[1] * s, coords[2] * s}; }
    Vector operator/(double s) const { return {coords[0] / s, coords[1] / s, coords[2] / s}; }

    bool operator==(const Vector &other) const = default;

private:
    std::array<double, 3> coords{0.0, 0.0, 0.0};
};

// Euclidean distance between a and b over all three coordinates. Inline:
// the Bezier split measures every edge it makes.
inline double distance(const Vector &a, const Vector &b)
{
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    const double dz = a.z() - b.z();
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}
