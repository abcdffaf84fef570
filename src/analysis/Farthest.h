#pragma once

#include <cstddef>

// The largest of a set of point distances and the point that has it.
// distance 0 and index 0 for an empty set.
struct Farthest
{
    double distance = 0.0; // world units
    std::size_t index = 0; // 0-based index of the point in the queried sequence
};
