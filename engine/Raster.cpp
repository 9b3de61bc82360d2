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
// Pixel writers: straight into the surface, or only where a cover mask is still open.

struct DirectWriter {
    Surface& surface;

    void span(std::uint32_t* row, int, int from, int to, std::uint32_t pixel) const {
        fillSpan(row + from, to - from, pixel);
    }
    void pixel(std::int64_t x, std::int64_t y, std::uint32_t pen) const { *surface.at(x, y) = pen; }
};

constexpr std::uint64_t ALL_BITS = ~std::uint64_t{0};

void writeRun(std::uint32_t* row, int from, int to, std::uint32_t pixel) {
    if (to - from <= 8) {
        for (int x = from; x < to; ++x)
            row[x] = pixel;
    } else {
        fillSpan(row + from, to - from, pixel);
    }
}

struct BeneathWriter {
    Surface& surface;
    CoverMask& mask;

    // The pixels of [from, to) on row y that are still open.
    void span(std::uint32_t* row, int y, int from, int to, std::uint32_t pixel) const {
        std::uint64_t* cover = mask.row(y);
        const int firstWord = from >> 6;
        const int lastWord = (to - 1) >> 6;
        const std::uint64_t firstWanted = ALL_BITS << (from & 63);
        const std::uint64_t lastWanted = ALL_BITS >> (63 - ((to - 1) & 63));
        // Most spans are either wholly open or wholly taken.
        std::uint64_t anyTaken = 0;
        std::uint64_t allTaken = ALL_BITS;
        if (firstWord == lastWord) {
            const std::uint64_t wanted = firstWanted & lastWanted;
            anyTaken = cover[firstWord] & wanted;
            allTaken = anyTaken == wanted ? ALL_BITS : 0;
        } else {
            anyTaken = cover[firstWord] & firstWanted;
            allTaken = (cover[firstWord] | ~firstWanted) & (cover[lastWord] | ~lastWanted);
            anyTaken |= cover[lastWord] & lastWanted;
            for (int w = firstWord + 1; w < lastWord; ++w) {
                anyTaken |= cover[w];
                allTaken &= cover[w];
            }
        }
        if (allTaken == ALL_BITS)
            return;
        if (anyTaken == 0) {
            writeRun(row, from, to, pixel);
            if (firstWord == lastWord) {
                cover[firstWord] |= firstWanted & lastWanted;
            } else {
                cover[firstWord] |= firstWanted;
                for (int w = firstWord + 1; w < lastWord; ++w)
                    cover[w] = ALL_BITS;
                cover[lastWord] |= lastWanted;
            }
            return;
        }
        int runFrom = 0;
        int runTo = 0; // the run not yet written; empty when equal
        for (int w = firstWord; w <= lastWord; ++w) {
            std::uint64_t wanted = ALL_BITS;
            if (w == firstWord)
                wanted &= firstWanted;
            if (w == lastWord)
                wanted &= lastWanted;
            std::uint64_t open = wanted & ~cover[w];
            if (open == 0)
                continue;
            cover[w] |= open;
            const int base = w << 6;
            while (open != 0) {
                const int start = std::countr_zero(open);
                const int length = std::countr_one(open >> start);
                const int x = base + start;
                if (x != runTo || runTo == runFrom) {
                    if (runTo > runFrom)
                        writeRun(row, runFrom, runTo, pixel);
                    runFrom = x;
                }
                runTo = x + length;
                open = start + length >= 64 ? 0 : open & (ALL_BITS << (start + length));
            }
        }
        if (runTo > runFrom)
            writeRun(row, runFrom, runTo, pixel);
    }
    void pixel(std::int64_t x, std::int64_t y, std::uint32_t pen) const {
        std::uint64_t& word = mask.row(y)[x >> 6];
        const std::uint64_t bit = std::uint64_t{1} << (x & 63);
        if ((word & bit) == 0) {
            word |= bit;
            *surface.at(x, y) = pen;
        }
    }
};

// ---------------------------------------------------------------------------------------
// Outline

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

// The same path for an edge inside the surface.
void drawOutlineInside(Surface& surface, const EdgeWalk& walk, std::uint32_t pen) {
    EdgeCursor cursor(surface, walk);
    for (std::int64_t k = 0; k < walk.length; ++k, cursor.advance())
        *cursor.pixel() = pen;
}

// The inside path beneath a mask: the mask's word and bit follow the pixel pointer.
void drawOutlineInsideBeneath(Surface& surface, CoverMask& mask, const EdgeWalk& walk,
                              std::uint32_t pen) {
    EdgeCursor cursor(surface, walk);
    std::int64_t x = walk.shallow ? walk.major0 : walk.minor0;
    std::uint64_t* maskRow = mask.row(walk.shallow ? walk.minor0 : walk.major0);
    const std::int64_t alongX = walk.shallow ? walk.majorStep : 0;
    const std::int64_t acrossX = walk.shallow ? 0 : walk.minorStep;
    const std::ptrdiff_t alongRows = walk.shallow ? 0 : walk.majorStep * mask.wordsPerRow;
    const std::ptrdiff_t acrossRows = walk.shallow ? walk.minorStep * mask.wordsPerRow : 0;
    std::int64_t sum = EdgeWalk::HALF;
    for (std::int64_t k = 0; k < walk.length; ++k) {
        std::uint64_t& word = maskRow[x >> 6];
        const std::uint64_t bit = std::uint64_t{1} << (x & 63);
        if ((word & bit) == 0) {
            word |= bit;
            *cursor.pixel() = pen;
        }
        const std::int64_t next = sum + walk.slope;
        const std::int64_t carry = (next >> 16) - (sum >> 16);
        sum = next;
        x += alongX + carry * acrossX;
        maskRow += alongRows + carry * acrossRows;
        cursor.advance();
    }
}

// Whether every pixel of the box (clipped to the surface) is taken already.
bool isTaken(const CoverMask& mask, const Surface& surface, const PolygonBounds& b) {
    const int left = std::max(b.left, 0);
    const int right = std::min(b.right, surface.width - 1);
    const int top = std::max(b.top, 0);
    const int bottom = std::min(b.bottom, surface.height - 1);
    const int firstWord = left >> 6;
    const int lastWord = right >> 6;
    const std::uint64_t firstWanted = ALL_BITS << (left & 63);
    const std::uint64_t lastWanted = ALL_BITS >> (63 - (right & 63));
    for (int y = top; y <= bottom; ++y) {
        const std::uint64_t* row = mask.row(y);
        for (int w = firstWord; w <= lastWord; ++w) {
            std::uint64_t wanted = ALL_BITS;
            if (w == firstWord)
                wanted &= firstWanted;
            if (w == lastWord)
                wanted &= lastWanted;
            if ((row[w] & wanted) != wanted)
                return false;
        }
    }
    return true;
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

namespace {

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

} // namespace

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

void drawPolygonBeneath(Surface& surface, CoverMask& mask, const IntPoint* points, int n,
                        std::uint32_t brush, std::uint32_t pen) {
    if (!surface.isDrawable() || points == nullptr || n < 2 || n > MAX_POLYGON_POINTS)
        return;
    const PolygonBounds b = boundsOf(points, n);
    if (b.right < 0 || b.bottom < 0 || b.left >= surface.width || b.top >= surface.height)
        return;
    if (isTaken(mask, surface, b))
        return;
    const BeneathWriter writer{surface, mask};
    // The outline is drawn over the fill, so beneath everything else it comes first.
    for (int i = 0; i < n; ++i) {
        EdgeWalk walk;
        if (!makeEdgeWalk(points[i], points[(i + 1) % n], walk))
            continue;
        if (surface.contains(points[i].x, points[i].y) &&
            surface.contains(points[(i + 1) % n].x, points[(i + 1) % n].y) &&
            walk.length < EdgeWalk::MAX_UNDRIFTING_LENGTH)
            drawOutlineInsideBeneath(surface, mask, walk, pen);
        else
            drawOutlineChecked(surface, walk, pen, writer);
    }
    ScanlineFill(surface, brush, writer).run(points, n);
}

void fillOpen(Surface& surface, const CoverMask& mask, std::uint32_t pixel) {
    if (!surface.isDrawable())
        return;
    const int lastWord = (surface.width - 1) >> 6;
    const std::uint64_t lastWanted = ALL_BITS >> (63 - ((surface.width - 1) & 63));
    for (int y = 0; y < surface.height; ++y) {
        const std::uint64_t* cover = mask.row(y);
        std::uint32_t* row = surface.at(0, y);
        int runFrom = 0;
        int runTo = 0;
        for (int w = 0; w <= lastWord; ++w) {
            std::uint64_t open = ~cover[w] & (w == lastWord ? lastWanted : ALL_BITS);
            const int base = w << 6;
            while (open != 0) {
                const int start = std::countr_zero(open);
                const int length = std::countr_one(open >> start);
                const int x = base + start;
                if (x != runTo || runTo == runFrom) {
                    if (runTo > runFrom)
                        writeRun(row, runFrom, runTo, pixel);
                    runFrom = x;
                }
                runTo = x + length;
                open = start + length >= 64 ? 0 : open & (ALL_BITS << (start + length));
            }
        }
        if (runTo > runFrom)
            writeRun(row, runFrom, runTo, pixel);
    }
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
