// An integer pixel position, the element of the polygons handed to the raster layer.
#pragma once

#include <cstdint>

namespace lumivane {

// Capacity of every polygon work buffer: a 40-vertex shape stays within 135
// points after clipping, so no polygon the renderer makes comes near it.
constexpr int WORK_POINTS = 320;

struct IntPoint {
    std::int32_t x;
    std::int32_t y;
};

} // namespace lumivane
