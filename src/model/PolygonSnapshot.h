#pragma once

#include "geometry/Vector.h"

#include <memory>
#include <vector>

// The control polygon as a plain value: its points in order and whether it
// is closed. An undo step keeps the polygon before and after its edit, and
// steps in a row share the snapshot between them (the one after a step is
// the one before the next), so snapshots travel as Shared, never changed
// once made.
struct PolygonSnapshot
{
    using Shared = std::shared_ptr<const PolygonSnapshot>;

    std::vector<Vector> points; // z = 0
    bool closed = false;

    // Exact comparison, coordinates bit for bit (0 and -0 equal).
    bool operator==(const PolygonSnapshot &) const = default;
};
