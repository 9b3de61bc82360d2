#include "engine/Raster.h"

#include "engine/InsertionSort.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lumivane {

namespace {

// Eight pixels in one vector; on processors with AVX2 or AVX-512 the fill below is
// compiled again for them and stores 32 bytes at a time (the default build uses
// two 16-byte SSE2 stores).
using PixelOctet = std::uint32_t __attribute__((vector_size(32)));

} // namespace

__attribute__((target_clones("avx2", "default"))) void fillSpan(std::uint32_t* dst, int count,
                                                                std::uint32_t pixel) {
    const PixelOctet octet = {pixel, pixel, pixel, pixel, pixel, pixel, pixel, pixel};
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        std::memcpy(dst + i, &octet, sizeof octet);
        std::memcpy(dst + i + 8, &octet, sizeof octet);
    }
    if (i + 8 <= count) {
        std::memcpy(dst + i, &octet, sizeof octet);
        i += 8;
    }
    for (; i < count; ++i)
        dst[i] = pixel;
}

void fillRect(Surface& surface, int left, int top, int right, int bottom, std::uint32_t pixel) {
    if (!surface.isDrawable())
        return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, surface.width);
    bottom = std::min(bottom, surface.height);
    if (left >= right)
        return;
    for (int y = top; y < bottom; ++y)
        fillSpan(surface.at(left, y), right - left, pixel);
}

// ---------------------------------------------------------------------------------------
// Edge walk

void EdgeWalk::majorRange(std::int64_t limit, std::int64_t& begin, std::int64_t& end) const {
    if (majorStep > 0) {
        begin = std::max<std::int64_t>(0, -major0);
        end = std::min(length, limit - major0);
    } else {
        begin = std::max<std::int64_t>(0, major0 - limit + 1);
        end = std::min(length, major0 + 1);
    }
}

bool makeEdgeWalk(IntPoint from, IntPoint to, EdgeWalk& walk) {
    const std::int64_t dx = std::abs(std::int64_t{to.x} - from.x);
    const std::int64_t dy = std::abs(std::int64_t{to.y} - from.y);
    walk.shallow = dx >= dy;
    const std::int64_t majorFrom = walk.shallow ? from.x : from.y;
    const std::int64_t majorTo = walk.shallow ? to.x : to.y;
    const std::int64_t minorFrom = walk.shallow ? from.y : from.x;
    const std::int64_t minorTo = walk.shallow ? to.y : to.x;
    if (majorFrom == majorTo)
        return false;
    walk.majorStep = majorTo > majorFrom ? 1 : -1;
    walk.minorStep = minorTo > minorFrom ? 1 : -1;
    walk.major0 = majorFrom;
    walk.minor0 = minorFrom;
    walk.length = walk.shallow ? dx : dy;
    // Only the shallow slope rounds; the steep one truncates.
    walk.slope = walk.shallow ? ((dy << 16) + dx / 2) / dx : (dx << 16) / dy;
    return true;
}

namespace {

// ---------------------------------------------------------------------------------------
// Outline

// The walk clipped to the surface, pixel by pixel: the reference for every edge, used for
// those that leave the surface or are too long to step (drawOutlineInside is the fast path).
void drawOutlineChecked(Surface& surface, const EdgeWalk& walk, std::uint32_t pen) {
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
            *surface.at(major, minor) = pen;
        else
            *surface.at(minor, major) = pen;
    }
}

// An edge inside the surface: drawOutlineChecked's path, stepping a pixel pointer.
void drawOutlineInside(Surface& surface, const EdgeWalk& walk, std::uint32_t pen) {
    EdgeCursor cursor(surface, walk);
    for (std::int64_t k = 0; k < walk.length; ++k, cursor.advance())
        *cursor.pixel() = pen;
}

void drawOutlineEdge(Surface& surface, IntPoint from, IntPoint to, std::uint32_t pen) {
    EdgeWalk walk;
    if (!makeEdgeWalk(from, to, walk))
        return;
    if (surface.contains(from.x, from.y) && surface.contains(to.x, to.y) &&
        walk.length < EdgeWalk::MAX_UNDRIFTING_LENGTH)
        drawOutlineInside(surface, walk, pen);
    else
        drawOutlineChecked(surface, walk, pen);
}

// ---------------------------------------------------------------------------------------
// Even-odd scanline fill

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

template <typename T> void floorDivMod(T num, std::int64_t den, std::int64_t& q, std::int64_t& r) {
    T quotient = num / den;
    T remainder = num % den;
    if (remainder < 0) {
        remainder += den;
        --quotient;
    }
    q = static_cast<std::int64_t>(quotient);
    r = static_cast<std::int64_t>(remainder);
}

constexpr std::int64_t SMALL_COORDINATE = std::int64_t{1} << 27;

// Sets up the edge from a to b for a surface of the given height; false when it crosses no
// scanline of it.
bool makeFillEdge(IntPoint a, IntPoint b, int height, FillEdge& edge) {
    if (a.y == b.y)
        return false;
    if (a.y > b.y)
        std::swap(a, b);
    const std::int64_t top = std::max<std::int64_t>(a.y, 0);
    const std::int64_t bottom = std::min<std::int64_t>(b.y, height);
    if (top >= bottom)
        return false;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    edge.yBegin = static_cast<int>(top);
    edge.yEnd = static_cast<int>(bottom);
    edge.denominator = dy;
    // X at row `top` is (ax dy + (top - ay) dx) / dy.
    const std::int64_t rowsSkipped = top - a.y;
    const bool small = std::abs(std::int64_t{a.x}) < SMALL_COORDINATE && dy < SMALL_COORDINATE &&
                       std::abs(dx) < SMALL_COORDINATE;
    if (small) {
        const std::int64_t num = a.x * dy + rowsSkipped * dx;
        floorDivMod(num, edge.denominator, edge.q, edge.r);
    } else {
        const __int128 num = __int128{a.x} * dy + __int128{rowsSkipped} * dx;
        floorDivMod(num, edge.denominator, edge.q, edge.r);
    }
    floorDivMod(dx, edge.denominator, edge.stepQ, edge.stepR);
    return true;
}

// The even-odd fill of a polygon, row by row, from its edges sorted by their first row.
class ScanlineFill {
  public:
    ScanlineFill(Surface& surface, std::uint32_t brush) : surface_(surface), brush_(brush) {}

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
                fillSpan(row + from, static_cast<int>(to - from), brush_);
        }
    }

    Surface& surface_;
    std::uint32_t brush_;
    FillEdge edges_[MAX_POLYGON_POINTS];
    FillEdge* active_[MAX_POLYGON_POINTS];
    std::int64_t crossings_[MAX_POLYGON_POINTS];
    int edgeCount_ = 0;
    int activeCount_ = 0;
};

// Whether the polygon's bounding box misses the surface.
bool liesOutside(const Surface& surface, const IntPoint* points, int n) {
    std::int32_t left = points[0].x, top = points[0].y, right = points[0].x, bottom = points[0].y;
    for (int i = 1; i < n; ++i) {
        left = std::min(left, points[i].x);
        right = std::max(right, points[i].x);
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    return right < 0 || bottom < 0 || left >= surface.width || top >= surface.height;
}

} // namespace

void drawPolygon(Surface& surface, const IntPoint* points, int n, std::uint32_t brush,
                 std::uint32_t pen) {
    if (!surface.isDrawable() || points == nullptr || n < 2 || n > MAX_POLYGON_POINTS)
        return;
    if (liesOutside(surface, points, n))
        return;
    ScanlineFill(surface, brush).run(points, n);
    for (int i = 0; i < n; ++i)
        drawOutlineEdge(surface, points[i], points[(i + 1) % n], pen);
}

// ---------------------------------------------------------------------------------------
// Block copy

namespace {

// The part of a block copy that lands inside the surface: a w x h block whose source and
// destination both lie inside it.
struct ClippedCopy {
    std::int64_t srcX, srcY, dstX, dstY, width, height;
};

// False when nothing of the copy lies inside the surface, or when it copies the block onto
// itself (which changes nothing).
bool clipBlockCopy(const Surface& surface, int srcX, int srcY, int w, int h, int dstX, int dstY,
                   ClippedCopy& c) {
    std::int64_t sx = srcX, sy = srcY, dx = dstX, dy = dstY, cw = w, ch = h;
    // Cut away columns and rows that are left of or above the surface on either side.
    const std::int64_t cutLeft = std::max<std::int64_t>({0, -sx, -dx});
    const std::int64_t cutTop = std::max<std::int64_t>({0, -sy, -dy});
    sx += cutLeft;
    dx += cutLeft;
    cw -= cutLeft;
    sy += cutTop;
    dy += cutTop;
    ch -= cutTop;
    cw = std::min({cw, surface.width - sx, surface.width - dx});
    ch = std::min({ch, surface.height - sy, surface.height - dy});
    if (cw <= 0 || ch <= 0 || (sx == dx && sy == dy))
        return false;
    c = ClippedCopy{sx, sy, dx, dy, cw, ch};
    return true;
}

} // namespace

void copyBlock(Surface& surface, int srcX, int srcY, int w, int h, int dstX, int dstY) {
    ClippedCopy c;
    if (!surface.isDrawable() || !clipBlockCopy(surface, srcX, srcY, w, h, dstX, dstY, c))
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(c.width) * sizeof(std::uint32_t);
    if (c.dstY > c.srcY) { // moving down: copy the bottom row first so no source row is overwritten
        for (std::int64_t row = c.height - 1; row >= 0; --row)
            std::memmove(surface.at(c.dstX, c.dstY + row), surface.at(c.srcX, c.srcY + row),
                         rowBytes);
    } else {
        for (std::int64_t row = 0; row < c.height; ++row)
            std::memmove(surface.at(c.dstX, c.dstY + row), surface.at(c.srcX, c.srcY + row),
                         rowBytes);
    }
}

} // namespace lumivane
