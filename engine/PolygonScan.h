// The parts of the polygon fill, the outline and the block copy that the raster layer shares
// with the frame compositor's cover mask, so that both put every pixel in the same place.
#pragma once

#include "engine/IntPoint.h"
#include "engine/Raster.h"

#include <algorithm>

#include <cstdint>

namespace lumivane {

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

// Walks an edge clipped to the surface, pixel by pixel, handing each pixel to the writer
// (drawOutlineEdge's path for edges that leave the surface or are too long to step).
template <typename Writer>
void drawOutlineChecked(const Surface& surface, const EdgeWalk& walk, std::uint32_t pen,
                        const Writer& writer) {
    const std::int64_t majorLimit = walk.shallow ? surface.width : surface.height;
    const std::int64_t minorLimit = walk.shallow ? surface.height : surface.width;
    std::int64_t begin = 0;
    std::int64_t end = 0;
    walk.majorRange(majorLimit, begin, end);
    std::int64_t major = walk.major(begin);
    std::int64_t sum = walk.fractionSum(begin);
    for (std::int64_t k = begin; k < end; ++k, major += walk.majorStep, sum += walk.slope) {
        const std::int64_t minor = walk.minor0 + walk.minorStep * (sum >> 16);
        if (minor < 0 || minor >= minorLimit)
            continue;
        if (walk.shallow)
            writer.pixel(major, minor, pen);
        else
            writer.pixel(minor, major, pen);
    }
}

// The even-odd fill of a polygon, row by row; the writer puts each span's pixels.
template <typename Writer> class ScanlineFill {
  public:
    ScanlineFill(Surface& surface, std::uint32_t brush, const Writer& writer)
        : surface_(surface), brush_(brush), writer_(writer) {}

    void run(const IntPoint* points, int n) {
        for (int i = 0; i < n; ++i) {
            FillEdge& edge = edges_[edgeCount_];
            if (makeFillEdge(points[i], points[(i + 1) % n], surface_.height, edge))
                ++edgeCount_;
        }
        if (edgeCount_ < 2)
            return;
        insertionSort(edges_, edgeCount_,
                      [](const FillEdge& a, const FillEdge& b) { return a.yBegin < b.yBegin; });
        int next = 0;
        for (int y = edges_[0].yBegin; next < edgeCount_ || activeCount_ > 0; ++y) {
            while (next < edgeCount_ && edges_[next].yBegin == y)
                active_[activeCount_++] = &edges_[next++];
            dropFinished(y);
            if (activeCount_ == 0 && next < edgeCount_)
                y = edges_[next].yBegin - 1; // jump over an empty band
            else
                fillRow(y);
        }
    }

  private:
    void dropFinished(int y) {
        int kept = 0;
        for (int i = 0; i < activeCount_; ++i)
            if (active_[i]->yEnd > y)
                active_[kept++] = active_[i];
        activeCount_ = kept;
    }

    void fillRow(int y) {
        for (int i = 0; i < activeCount_; ++i) {
            crossings_[i] = active_[i]->firstPixel();
            active_[i]->advance();
        }
        insertionSort(crossings_, activeCount_,
                      [](std::int64_t a, std::int64_t b) { return a < b; });
        std::uint32_t* row = surface_.at(0, y);
        const std::int64_t width = surface_.width;
        for (int i = 0; i + 1 < activeCount_; i += 2) {
            const std::int64_t from = std::max<std::int64_t>(crossings_[i], 0);
            const std::int64_t to = std::min(crossings_[i + 1], width);
            if (from < to)
                writer_.span(row, y, static_cast<int>(from), static_cast<int>(to), brush_);
        }
    }

    Surface& surface_;
    std::uint32_t brush_;
    const Writer& writer_;
    FillEdge edges_[MAX_POLYGON_POINTS];
    FillEdge* active_[MAX_POLYGON_POINTS];
    std::int64_t crossings_[MAX_POLYGON_POINTS];
    int edgeCount_ = 0;
    int activeCount_ = 0;
};

} // namespace lumivane
