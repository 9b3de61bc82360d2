// An integer pixel position, the element of the polygons handed to the raster layer.
#pragma once

#include <cstdint>

namespace lumivane {

struct IntPoint {
    std::int32_t x;
    std::int32_t y;
};

} // namespace lumivane
