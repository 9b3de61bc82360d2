// The parts of the polygon fill and of the block copy that the raster layer shares with the
// frame compositor, so that both put every pixel in the same place.
#pragma once

#include "engine/IntPoint.h"

#include <cstdint>

namespace lumivane {

struct Surface;

// One non-horizontal edge of a polygon, oriented downwards. For the current scanline y the
// edge crosses the row at X; pixels at or right of X start at ceil(X) = q + (r > 0), kept
// exactly as the fraction q + r / denominator. Pixel (x, y) stands for the point (x, y), the
// same point the outline's edge walk passes through, so a polygon's fill always meets its own
// outline.
struct FillEdge {
    int yBegin; // first scanline (clipped to the surface)
    int yEnd;   // one past the last scanline (clipped)
    std::int64_t q;
    std::int64_t r;
    std::int64_t denominator;
    std::int64_t stepQ;
    std::int64_t stepR;

    std::int64_t firstPixel() const { return q + (r > 0 ? 1 : 0); }
    void advance() {
        q += stepQ;
        r += stepR;
        if (r >= denominator) {
            r -= denominator;
            ++q;
        }
    }
};

// Sets up the edge from a to b for a surface of the given height; false when it crosses no
// scanline of it.
bool makeFillEdge(IntPoint a, IntPoint b, int height, FillEdge& edge);

// The inclusive bounding box of a polygon's points.
struct PolygonBounds {
    std::int32_t left, top, right, bottom;
};

PolygonBounds boundsOf(const IntPoint* points, int n);

// Sorts a short, mostly ordered array in place (stable).
template <typename T, typename Less> void insertionSort(T* items, int count, Less less) {
    for (int i = 1; i < count; ++i) {
        const T item = items[i];
        int j = i;
        for (; j > 0 && less(item, items[j - 1]); --j)
            items[j] = items[j - 1];
        items[j] = item;
    }
}

// The part of a block copy that lands inside the surface: a w x h block whose source and
// destination both lie inside it.
struct ClippedCopy {
    std::int64_t srcX, srcY, dstX, dstY, width, height;
};

// False when nothing of the copy lies inside the surface, or when it copies the block onto
// itself (which changes nothing).
bool clipBlockCopy(const Surface& surface, int srcX, int srcY, int w, int h, int dstX, int dstY,
                   ClippedCopy& clipped);

// One bit per pixel of a surface, set for the pixels already taken.
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
