#include "engine/AntiAlias.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumivane {

namespace {

constexpr std::uint32_t RED_BLUE = 0x00FF00FFu;
constexpr std::uint32_t GREEN = 0x0000FF00u;
constexpr std::uint32_t FRACTION_MASK = 0xFFFFu;
constexpr std::uint32_t FRACTION_HALF = 0x8000u;

std::uint32_t average(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t redBlue = (((a & RED_BLUE) + (b & RED_BLUE)) >> 1) & RED_BLUE;
    const std::uint32_t green = (((a & GREEN) + (b & GREEN)) >> 1) & GREEN;
    return PIXEL_OPAQUE | redBlue | green;
}

bool sameColour(std::uint32_t pixel, std::uint32_t colour) {
    return (pixel & PIXEL_COLOUR_MASK) == colour;
}

// (a1 w + b1 (256 - w)) / 256 and (a2 w + b2 (256 - w)) / 256 per channel, the two
// results of sharing one outline pixel. With SSE2 the channels of both pairs are spread
// into 16-bit lanes, where no product or sum exceeds 255 * 256, so every lane computes
// exactly what the scalar version computes.
struct BlendedPair {
    std::uint32_t first;
    std::uint32_t second;
};

#if defined(__SSE2__)
BlendedPair blendPair(std::uint32_t a1, std::uint32_t b1, std::uint32_t a2, std::uint32_t b2,
                      std::uint32_t w) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i a = _mm_unpacklo_epi8(
        _mm_cvtsi64_si128(static_cast<long long>((std::uint64_t{a2} << 32) | a1)), zero);
    const __m128i b = _mm_unpacklo_epi8(
        _mm_cvtsi64_si128(static_cast<long long>((std::uint64_t{b2} << 32) | b1)), zero);
    const __m128i sum =
        _mm_add_epi16(_mm_mullo_epi16(a, _mm_set1_epi16(static_cast<short>(w))),
                      _mm_mullo_epi16(b, _mm_set1_epi16(static_cast<short>(256 - w))));
    const __m128i packed = _mm_packus_epi16(_mm_srli_epi16(sum, 8), zero);
    const auto both = static_cast<std::uint64_t>(_mm_cvtsi128_si64(packed));
    return {PIXEL_OPAQUE | static_cast<std::uint32_t>(both),
            PIXEL_OPAQUE | static_cast<std::uint32_t>(both >> 32)};
}
#else
// (a w + b (256 - w)) / 256 per channel. No channel product exceeds 16 bits, so red and
// blue are computed together.
std::uint32_t blend(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
    const std::uint32_t v = 256 - w;
    const std::uint32_t redBlue = (((a & RED_BLUE) * w + (b & RED_BLUE) * v) >> 8) & RED_BLUE;
    const std::uint32_t green = (((a & GREEN) * w + (b & GREEN) * v) >> 8) & GREEN;
    return PIXEL_OPAQUE | redBlue | green;
}

BlendedPair blendPair(std::uint32_t a1, std::uint32_t b1, std::uint32_t a2, std::uint32_t b2,
                      std::uint32_t w) {
    return {blend(a1, b1, w), blend(a2, b2, w)};
}
#endif

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
            const BlendedPair out = blendPair(c, *a, *b, c, w);
            *p = out.first;
            *b = out.second;
        }
    } else {
        const std::uint32_t w = 256 - (128 - level);
        if (w < 256) {
            const BlendedPair out = blendPair(c, *b, *a, c, w);
            *p = out.first;
            *a = out.second;
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

inline __attribute__((always_inline)) void softenPixel(std::uint32_t* p, std::ptrdiff_t towardsB,
                                                       std::uint32_t fraction, EdgeTrack& track) {
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

// The edge pass with a bounds test per pixel, for edges that come near or cross the border.
void walkEdgeChecked(Surface& s, const EdgeWalk& walk, std::int64_t begin, std::int64_t end,
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
        if (isProcessable(s, walk.shallow, x, y))
            softenPixel(s.at(x, y), towardsB, static_cast<std::uint32_t>(sum) & FRACTION_MASK,
                        track);
    }
}

// The same pass for an edge well inside the surface.
void walkEdgeInside(Surface& s, const EdgeWalk& walk, std::uint32_t reference) {
    EdgeTrack track{reference, 0};
    EdgeCursor cursor(s, walk);
    for (std::int64_t k = 0; k < walk.length; ++k, cursor.advance())
        softenPixel(cursor.pixel(), cursor.across(), cursor.fraction(), track);
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
    walkEdgeChecked(s, walk, begin, end, reference);
}

} // namespace

void antiAliasEdge(Surface& surface, IntPoint from, IntPoint to) {
    if (!surface.isDrawable())
        return;
    const std::uint32_t reference = startReference(surface, from);
    EdgeWalk walk;
    if (!makeEdgeWalk(from, to, walk))
        return;
    if (wellInside(surface, from) && wellInside(surface, to) &&
        walk.length < EdgeWalk::MAX_UNDRIFTING_LENGTH)
        walkEdgeInside(surface, walk, reference);
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
