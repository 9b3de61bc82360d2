#include "engine/AntiAlias.h"

#include <cstddef>

namespace lumivane {

namespace {

constexpr std::uint32_t RED_BLUE = 0x00FF00FFu;
constexpr std::uint32_t GREEN = 0x0000FF00u;
constexpr std::uint32_t FRACTION_MASK = 0xFFFFu;
constexpr std::uint32_t FRACTION_HALF = 0x8000u;
// Edges shorter than this cannot drift off their end pixels' rows or columns, which the
// unchecked loop relies on.
constexpr std::int64_t MAX_UNCHECKED_LENGTH = 0x8000;

// (a w + b (256 - w)) / 256 per channel. No channel product exceeds 16 bits, so red and
// blue are computed together.
std::uint32_t blend(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
    const std::uint32_t v = 256 - w;
    const std::uint32_t redBlue = (((a & RED_BLUE) * w + (b & RED_BLUE) * v) >> 8) & RED_BLUE;
    const std::uint32_t green = (((a & GREEN) * w + (b & GREEN) * v) >> 8) & GREEN;
    return PIXEL_OPAQUE | redBlue | green;
}

std::uint32_t average(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t redBlue = (((a & RED_BLUE) + (b & RED_BLUE)) >> 1) & RED_BLUE;
    const std::uint32_t green = (((a & GREEN) + (b & GREEN)) >> 1) & GREEN;
    return PIXEL_OPAQUE | redBlue | green;
}

bool sameColour(std::uint32_t pixel, std::uint32_t colour) {
    return (pixel & PIXEL_COLOUR_MASK) == colour;
}

// Reference colour and mismatch count carried along one edge.
struct EdgeTrack {
    std::uint32_t reference;
    int misses;
};

// Spreads an outline pixel over itself and the neighbour on the near side of the ideal line.
// `a` is one minor step against the edge's minor direction, `b` one step along it.
void shareOutlinePixel(std::uint32_t* p, std::uint32_t* a, std::uint32_t* b,
                       std::uint32_t fraction) {
    const std::uint32_t c = *p;
    const std::uint32_t level = fraction / 256;
    if (fraction > FRACTION_HALF) { // the ideal line lies towards b
        const std::uint32_t w = 256 - (level - 128);
        if (w < 256) {
            *p = blend(c, *a, w);
            *b = blend(*b, c, w);
        }
    } else {
        const std::uint32_t w = 256 - (128 - level);
        if (w < 256) {
            *p = blend(c, *b, w);
            *a = blend(*a, c, w);
        }
    }
}

// The first pixel off the reference colour: when a neighbour holds the reference colour the
// outline was drawn one pixel off; pull it back halfway.
void repairFirstMiss(std::uint32_t* p, std::ptrdiff_t towardsB, std::uint32_t reference) {
    std::uint32_t* a = p - towardsB;
    std::uint32_t* b = p + towardsB;
    const std::uint32_t c = *p;
    if (sameColour(*a, reference)) {
        const std::uint32_t oldA = *a;
        *a = average(oldA, *(p - 2 * towardsB));
        *p = average(oldA, c);
    } else if (sameColour(*b, reference)) {
        const std::uint32_t oldB = *b;
        *b = average(oldB, *(p + 2 * towardsB));
        *p = average(oldB, c);
    }
}

void softenPixel(std::uint32_t* p, std::ptrdiff_t towardsB, std::uint32_t fraction,
                 EdgeTrack& track) {
    const std::uint32_t colour = *p & PIXEL_COLOUR_MASK;
    if (colour == track.reference) {
        track.misses = 0;
        shareOutlinePixel(p, p - towardsB, p + towardsB, fraction);
        return;
    }
    if (track.misses < 2) // the count only matters up to 2
        ++track.misses;
    if (track.misses > 1)
        track.reference = colour;
    else
        repairFirstMiss(p, towardsB, track.reference);
}

// A shallow edge may touch rows 1..H-2 and read rows 0..H-1 around the processed pixel; a
// steep edge likewise in columns.
bool isProcessable(const Surface& s, bool shallow, std::int64_t x, std::int64_t y) {
    if (shallow)
        return x >= 0 && x < s.width && y > 1 && y < s.height - 2;
    return x > 1 && x < s.width - 2 && y >= 0 && y < s.height;
}

template <bool Checked>
void walkEdge(Surface& s, const EdgeWalk& walk, std::int64_t begin, std::int64_t end,
              std::uint32_t reference) {
    const std::ptrdiff_t towardsB =
        walk.shallow ? std::ptrdiff_t{walk.minorStep} * s.stride : std::ptrdiff_t{walk.minorStep};
    EdgeTrack track{reference, 0};
    std::int64_t major = walk.major(begin);
    std::int64_t sum = walk.fractionSum(begin);
    for (std::int64_t k = begin; k < end; ++k, major += walk.majorStep, sum += walk.slope) {
        const std::int64_t minor = walk.minor0 + walk.minorStep * (sum >> 16);
        const std::int64_t x = walk.shallow ? major : minor;
        const std::int64_t y = walk.shallow ? minor : major;
        if constexpr (Checked) {
            if (!isProcessable(s, walk.shallow, x, y))
                continue;
        }
        softenPixel(s.at(x, y), towardsB, static_cast<std::uint32_t>(sum) & FRACTION_MASK, track);
    }
}

std::uint32_t startReference(const Surface& s, IntPoint from) {
    if (!s.contains(from.x, from.y))
        return OFF_SURFACE_COLOUR;
    return *s.at(from.x, from.y) & PIXEL_COLOUR_MASK;
}

bool wellInside(const Surface& s, IntPoint p) {
    return p.x >= 2 && p.x <= s.width - 3 && p.y >= 2 && p.y <= s.height - 3;
}

void checkedEdge(Surface& s, const EdgeWalk& walk, std::uint32_t reference) {
    std::int64_t begin = 0;
    std::int64_t end = 0;
    walk.majorRange(walk.shallow ? s.width : s.height, begin, end);
    walkEdge<true>(s, walk, begin, end, reference);
}

} // namespace

void antiAliasEdge(Surface& surface, IntPoint from, IntPoint to) {
    if (!surface.isDrawable())
        return;
    const std::uint32_t reference = startReference(surface, from);
    EdgeWalk walk;
    if (!makeEdgeWalk(from, to, walk))
        return;
    if (wellInside(surface, from) && wellInside(surface, to) && walk.length < MAX_UNCHECKED_LENGTH)
        walkEdge<false>(surface, walk, 0, walk.length, reference);
    else
        checkedEdge(surface, walk, reference);
}

void detail::antiAliasEdgeChecked(Surface& surface, IntPoint from, IntPoint to) {
    if (!surface.isDrawable())
        return;
    const std::uint32_t reference = startReference(surface, from);
    EdgeWalk walk;
    if (makeEdgeWalk(from, to, walk))
        checkedEdge(surface, walk, reference);
}

void antiAliasPolygon(Surface& surface, const IntPoint* points, int n, bool forward) {
    if (points == nullptr || n < 2)
        return;
    if (forward) {
        for (int i = 0; i + 1 < n; ++i)
            antiAliasEdge(surface, points[i], points[i + 1]);
        antiAliasEdge(surface, points[n - 1], points[0]);
    } else {
        for (int i = n - 1; i > 0; --i)
            antiAliasEdge(surface, points[i], points[i - 1]);
        antiAliasEdge(surface, points[0], points[n - 1]);
    }
}

} // namespace lumivane
