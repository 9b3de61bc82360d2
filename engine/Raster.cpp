#include "engine/Raster.h"

#include "engine/PolygonScan.h"

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
// The pixel writer straight into the surface (CoverMask.cpp has the one beneath a mask).

struct DirectWriter {
    Surface& surface;

    void span(std::uint32_t* row, int, int from, int to, std::uint32_t pixel) const {
        fillSpan(row + from, to - from, pixel);
    }
    void pixel(std::int64_t x, std::int64_t y, std::uint32_t pen) const { *surface.at(x, y) = pen; }
};

// ---------------------------------------------------------------------------------------
// Outline

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
        drawOutlineChecked(surface, walk, pen, DirectWriter{surface});
}

// ---------------------------------------------------------------------------------------
// Even-odd scanline fill

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

} // namespace

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

PolygonBounds boundsOf(const IntPoint* points, int n) {
    PolygonBounds b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < n; ++i) {
        b.left = std::min(b.left, points[i].x);
        b.right = std::max(b.right, points[i].x);
        b.top = std::min(b.top, points[i].y);
        b.bottom = std::max(b.bottom, points[i].y);
    }
    return b;
}

void drawPolygon(Surface& surface, const IntPoint* points, int n, std::uint32_t brush,
                 std::uint32_t pen) {
    if (!surface.isDrawable() || points == nullptr || n < 2 || n > MAX_POLYGON_POINTS)
        return;
    const PolygonBounds b = boundsOf(points, n);
    if (b.right < 0 || b.bottom < 0 || b.left >= surface.width || b.top >= surface.height)
        return;
    const DirectWriter writer{surface};
    ScanlineFill(surface, brush, writer).run(points, n);
    for (int i = 0; i < n; ++i)
        drawOutlineEdge(surface, points[i], points[(i + 1) % n], pen);
}

// ---------------------------------------------------------------------------------------
// Block copy

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
