// The raster layer: filling rectangles and polygons, outlining polygons and copying blocks in
// a 32-bit pixel surface owned by someone else (typically the bits of a QImage). Every call
// clips to the surface whatever coordinates it is given, and nothing allocates.
#pragma once

#include "engine/IntPoint.h"
#include "patterns/Pattern.h"

#include <cstddef>
#include <cstdint>

namespace lumivane {

// A surface pixel is 0xAARRGGBB (bytes blue, green, red, alpha in memory). Qt's RGB32 images
// expect the top byte to be 0xFF, so every pixel written carries PIXEL_OPAQUE.
constexpr std::uint32_t PIXEL_OPAQUE = 0xFF000000u;
// The colour part of a pixel, used when pixels are compared.
constexpr std::uint32_t PIXEL_COLOUR_MASK = 0x00FFFFFFu;

// Polygons with more points than this are not drawn (the renderer never makes them).
constexpr int MAX_POLYGON_POINTS = WORK_POINTS;

// Pixels of a top-down 32-bit image; stride is the row pitch in pixels.
struct Surface {
    std::uint32_t* pixels;
    int width;
    int height;
    int stride;

    bool isDrawable() const { return pixels != nullptr && width > 0 && height > 0; }
    bool contains(std::int64_t x, std::int64_t y) const {
        return x >= 0 && x < width && y >= 0 && y < height;
    }
    std::uint32_t* at(std::int64_t x, std::int64_t y) const {
        return pixels + y * static_cast<std::int64_t>(stride) + x;
    }
};

// COLORREF 0x00BBGGRR to the opaque surface pixel 0xFFRRGGBB.
constexpr std::uint32_t colourToPixel(ColourRef c) {
    return PIXEL_OPAQUE | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// Sets count consecutive pixels (vectorised stores).
void fillSpan(std::uint32_t* dst, int count, std::uint32_t pixel);

// Fills the rectangle [left, right) x [top, bottom), clipped to the surface.
void fillRect(Surface& surface, int left, int top, int right, int bottom, std::uint32_t pixel);

// Fills the polygon with the even-odd rule and then draws its closed one-pixel outline.
// Pixel (x, y) stands for the point (x, y) for both. Fill rule: a pixel is inside when that
// point is enclosed an odd number of times, an edge counting for the rows from its upper end
// up to, not including, its lower end and for the pixels at or right of it. Outline: each edge
// from its start pixel up to, not including, its end pixel, on the 16.16 path of EdgeWalk.
// The outline thus borders the fill: no pixel is left between them, and none is filled beyond
// it. Fewer than 2 or more than MAX_POLYGON_POINTS points draw nothing.
void drawPolygon(Surface& surface, const IntPoint* points, int n, std::uint32_t brush,
                 std::uint32_t pen);

// Copies a w x h block within the surface. Overlapping blocks copy as if through a temporary;
// only the part where both source and destination lie inside the surface is copied.
void copyBlock(Surface& surface, int srcX, int srcY, int w, int h, int dstX, int dstY);

// The pixel path along an edge, shared by the outline and the edge pass. The major axis is x
// when |dx| >= |dy| (a shallow edge), else y. Pixel k (0 <= k < length) sits at major0 +
// majorStep k on the major axis; its 16.16 fraction starts at one half and grows by slope
// per pixel, and every carry out of the fraction moves the minor coordinate by minorStep.
struct EdgeWalk {
    static constexpr std::int64_t HALF = 0x8000;
    // Edges shorter than this cannot drift off their end pixels' rows or columns, so one
    // whose ends lie inside a rectangle stays inside it.
    static constexpr std::int64_t MAX_UNDRIFTING_LENGTH = 0x8000;

    bool shallow;
    int majorStep;
    int minorStep;
    std::int64_t major0;
    std::int64_t minor0;
    std::int64_t length;
    std::int64_t slope;

    std::int64_t major(std::int64_t k) const { return major0 + majorStep * k; }
    // Fraction of pixel k, with the carries accumulated above bit 16.
    std::int64_t fractionSum(std::int64_t k) const { return HALF + k * slope; }
    std::int64_t minor(std::int64_t k) const { return minor0 + minorStep * (fractionSum(k) >> 16); }
    // The pixels [begin, end) whose major coordinate lies in [0, limit).
    void majorRange(std::int64_t limit, std::int64_t& begin, std::int64_t& end) const;
};

// The pixels of a walk reached by pointer, for an edge known to lie inside the surface: each
// step moves one pixel along the major axis, and one along the minor axis on a carry out of
// the fraction (the slope never exceeds one, so there is at most one carry per step).
class EdgeCursor {
  public:
    EdgeCursor(const Surface& surface, const EdgeWalk& walk)
        : pixel_(walk.shallow ? surface.at(walk.major0, walk.minor0)
                              : surface.at(walk.minor0, walk.major0)),
          along_(walk.shallow ? walk.majorStep : std::ptrdiff_t{walk.majorStep} * surface.stride),
          across_(walk.shallow ? std::ptrdiff_t{walk.minorStep} * surface.stride : walk.minorStep),
          slope_(walk.slope) {}

    std::uint32_t* pixel() const { return pixel_; }
    // The pixel one step along the minor axis, the way the edge moves.
    std::ptrdiff_t across() const { return across_; }
    std::uint32_t fraction() const { return static_cast<std::uint32_t>(sum_) & 0xFFFFu; }
    void advance() {
        const std::int64_t next = sum_ + slope_;
        pixel_ += along_ + ((next >> 16) - (sum_ >> 16)) * across_;
        sum_ = next;
    }

  private:
    std::uint32_t* pixel_;
    std::ptrdiff_t along_;
    std::ptrdiff_t across_;
    std::int64_t slope_;
    std::int64_t sum_ = EdgeWalk::HALF;
};

// Sets up the walk from one point to the other; false when the ends share the major
// coordinate (a zero-length edge, which has no pixels).
bool makeEdgeWalk(IntPoint from, IntPoint to, EdgeWalk& walk);

} // namespace lumivane
