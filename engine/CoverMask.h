// A cover mask: one bit per pixel of a surface, set for the pixels already taken. Drawing a
// frame's polygons from the topmost down beneath it, and the background last, gives the
// frame that drawing them in order from the bottom up gives.
#pragma once

#include "engine/IntPoint.h"
#include "engine/Raster.h"

#include <cstdint>

namespace lumivane {

inline constexpr std::uint64_t MASK_ALL_BITS = ~std::uint64_t{0};

struct CoverMask {
    std::uint64_t* words;
    int wordsPerRow;

    std::uint64_t* row(std::int64_t y) const { return words + y * wordsPerRow; }
    static int wordsFor(int width) { return (width + 63) / 64; }
};

// Draws a polygon beneath the pixels the mask already holds: the pixels drawPolygon would
// write are written only where the mask is open, outline before fill, and then taken. Drawing
// a frame's polygons from the topmost down this way, and the background last with fillOpen,
// gives the frame drawPolygon gives from the bottom up.
void drawPolygonBeneath(Surface& surface, CoverMask& mask, const IntPoint* points, int n,
                        std::uint32_t brush, std::uint32_t pen);

// Writes pixel wherever the mask is open (the mask is left as it is).
void fillOpen(Surface& surface, const CoverMask& mask, std::uint32_t pixel);

} // namespace lumivane
