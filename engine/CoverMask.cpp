#include "engine/CoverMask.h"

#include "engine/PolygonScan.h"

#include <algorithm>
#include <bit>

namespace lumivane {
namespace {

void writeRun(std::uint32_t* row, int from, int to, std::uint32_t pixel) {
    if (to - from <= 8) {
        for (int x = from; x < to; ++x)
            row[x] = pixel;
    } else {
        fillSpan(row + from, to - from, pixel);
    }
}

// Writes the open pixels of a row, word by word of its cover mask, joining
// runs that continue across a word's end.
struct OpenRuns {
    std::uint32_t* row;
    std::uint32_t pixel;
    int from = 0;
    int to = 0; // the run not yet written; empty when equal

    // open: the pixels base..base+63 to write.
    void add(std::uint64_t open, int base) {
        while (open != 0) {
            const int start = std::countr_zero(open);
            const int length = std::countr_one(open >> start);
            const int x = base + start;
            if (x != to || to == from) {
                finish();
                from = x;
            }
            to = x + length;
            open = start + length >= 64 ? 0 : open & (MASK_ALL_BITS << (start + length));
        }
    }
    void finish() {
        if (to > from)
            writeRun(row, from, to, pixel);
        from = to;
    }
};

struct BeneathWriter {
    Surface& surface;
    CoverMask& mask;

    // The pixels of [from, to) on row y that are still open.
    void span(std::uint32_t* row, int y, int from, int to, std::uint32_t pixel) const {
        std::uint64_t* cover = mask.row(y);
        const int firstWord = from >> 6;
        const int lastWord = (to - 1) >> 6;
        const std::uint64_t firstWanted = MASK_ALL_BITS << (from & 63);
        const std::uint64_t lastWanted = MASK_ALL_BITS >> (63 - ((to - 1) & 63));
        // Most spans are either wholly open or wholly taken.
        std::uint64_t anyTaken = 0;
        std::uint64_t allTaken = MASK_ALL_BITS;
        if (firstWord == lastWord) {
            const std::uint64_t wanted = firstWanted & lastWanted;
            anyTaken = cover[firstWord] & wanted;
            allTaken = anyTaken == wanted ? MASK_ALL_BITS : 0;
        } else {
            anyTaken = cover[firstWord] & firstWanted;
            allTaken = (cover[firstWord] | ~firstWanted) & (cover[lastWord] | ~lastWanted);
            anyTaken |= cover[lastWord] & lastWanted;
            for (int w = firstWord + 1; w < lastWord; ++w) {
                anyTaken |= cover[w];
                allTaken &= cover[w];
            }
        }
        if (allTaken == MASK_ALL_BITS)
            return;
        if (anyTaken == 0) {
            writeRun(row, from, to, pixel);
            if (firstWord == lastWord) {
                cover[firstWord] |= firstWanted & lastWanted;
            } else {
                cover[firstWord] |= firstWanted;
                for (int w = firstWord + 1; w < lastWord; ++w)
                    cover[w] = MASK_ALL_BITS;
                cover[lastWord] |= lastWanted;
            }
            return;
        }
        OpenRuns runs{row, pixel};
        for (int w = firstWord; w <= lastWord; ++w) {
            const std::uint64_t wanted = (w == firstWord ? firstWanted : MASK_ALL_BITS) &
                                         (w == lastWord ? lastWanted : MASK_ALL_BITS);
            std::uint64_t open = wanted & ~cover[w];
            if (open == 0)
                continue;
            cover[w] |= open;
            runs.add(open, w << 6);
        }
        runs.finish();
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
    const std::uint64_t firstWanted = MASK_ALL_BITS << (left & 63);
    const std::uint64_t lastWanted = MASK_ALL_BITS >> (63 - (right & 63));
    for (int y = top; y <= bottom; ++y) {
        const std::uint64_t* row = mask.row(y);
        for (int w = firstWord; w <= lastWord; ++w) {
            const std::uint64_t wanted = (w == firstWord ? firstWanted : MASK_ALL_BITS) &
                                         (w == lastWord ? lastWanted : MASK_ALL_BITS);
            if ((row[w] & wanted) != wanted)
                return false;
        }
    }
    return true;
}

} // namespace

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
    const std::uint64_t lastWanted = MASK_ALL_BITS >> (63 - ((surface.width - 1) & 63));
    for (int y = 0; y < surface.height; ++y) {
        const std::uint64_t* cover = mask.row(y);
        OpenRuns runs{surface.at(0, y), pixel};
        for (int w = 0; w <= lastWord; ++w) {
            std::uint64_t open = ~cover[w] & (w == lastWord ? lastWanted : MASK_ALL_BITS);
            runs.add(open, w << 6);
        }
        runs.finish();
    }
}

} // namespace lumivane
