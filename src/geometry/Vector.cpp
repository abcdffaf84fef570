#include "geometry/Vector.h"

#include <cmath>

double distance(const Vector &a, const Vector &b)
{
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    const double dz = a.z() - b.z();
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}
