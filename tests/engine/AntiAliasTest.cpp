#include "engine/AntiAlias.h"

#include "GuardedCanvas.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace lumivane;
using lumivane::testing::GuardedCanvas;

namespace {

constexpr std::uint32_t BG = PIXEL_OPAQUE | 0x102030;
constexpr std::uint32_t BRUSH = PIXEL_OPAQUE | 0x00C040;
constexpr std::uint32_t PEN = PIXEL_OPAQUE | 0xE00010;

std::uint32_t channel(std::uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}

// The expected blend (a w + b (256 - w)) / 256, computed channel by channel.
std::uint32_t referenceBlend(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
    std::uint32_t out = PIXEL_OPAQUE;
    for (int shift : {0, 8, 16})
        out |= ((channel(a, shift) * w + channel(b, shift) * (256 - w)) / 256) << shift;
    return out;
}

std::uint32_t referenceAverage(std::uint32_t a, std::uint32_t b) {
    return referenceBlend(a, b, 128) | PIXEL_OPAQUE; // (a + b) / 2 per channel
}

// Paints the outline pixels of one edge the way drawPolygon does.
void paintEdge(GuardedCanvas& canvas, IntPoint from, IntPoint to, std::uint32_t pen) {
    EdgeWalk walk;
    ASSERT_TRUE(makeEdgeWalk(from, to, walk));
    for (std::int64_t k = 0; k < walk.length; ++k) {
        const auto major = static_cast<int>(walk.major(k)), minor = static_cast<int>(walk.minor(k));
        canvas.set(walk.shallow ? major : minor, walk.shallow ? minor : major, pen);
    }
}

} // namespace

TEST(AntiAlias, AxisAlignedAndDiagonalEdgesStayUnchanged) {
    const std::vector<std::vector<IntPoint>> shapes = {
        {{5, 5}, {30, 5}, {30, 20}, {5, 20}},     // horizontal and vertical
        {{20, 3}, {35, 18}, {20, 33}, {5, 18}},   // exact 45 degrees
        {{10, 10}, {10, 10}, {25, 10}, {25, 25}}, // includes a zero-length edge
    };
    for (const auto& shape : shapes)
        for (bool forward : {true, false}) {
            GuardedCanvas canvas(40, 40, BG);
            drawPolygon(canvas.surface(), shape.data(), static_cast<int>(shape.size()), BRUSH, PEN);
            const std::vector<std::uint32_t> before = canvas.pixels();
            antiAliasPolygon(canvas.surface(), shape.data(), static_cast<int>(shape.size()),
                             forward);
            EXPECT_EQ(canvas.pixels(), before);
        }
}

TEST(AntiAlias, ShallowEdgeSharesOutlineWithNeighbours) {
    GuardedCanvas canvas(40, 30, BG);
    paintEdge(canvas, {10, 10}, {20, 15}, PEN);
    const std::uint32_t below = PIXEL_OPAQUE | 0x0000FF;
    canvas.set(11, 12, below);
    antiAliasEdge(canvas.surface(), {10, 10}, {20, 15});
    EXPECT_EQ(canvas.at(10, 10), PEN); // n = 0x8000: left alone
    EXPECT_EQ(canvas.at(11, 11), referenceBlend(PEN, below, 128));
    EXPECT_EQ(canvas.at(11, 10), referenceBlend(BG, PEN, 128));
    EXPECT_EQ(canvas.at(20, 15), BG); // the end pixel belongs to the next edge
}

TEST(AntiAlias, FirstMissPullsAnOffsetOutlineBack) {
    // A horizontal edge whose outline jumps one row up (towards B) halfway along.
    GuardedCanvas canvas(30, 20, BG);
    for (int x = 4; x < 9; ++x)
        canvas.set(x, 10, PEN);
    for (int x = 9; x < 14; ++x)
        canvas.set(x, 9, PEN);
    const std::uint32_t above = PIXEL_OPAQUE | 0x445566;
    canvas.set(9, 8, above);
    antiAliasEdge(canvas.surface(), {4, 10}, {14, 10});
    EXPECT_EQ(canvas.at(9, 9), referenceAverage(PEN, above));
    EXPECT_EQ(canvas.at(9, 10), referenceAverage(PEN, BG));
    EXPECT_EQ(canvas.at(10, 10), BG); // second miss: the background becomes the reference
}

TEST(AntiAlias, EdgesReachingFarOutsideTouchOnlyTheSurface) {
    GuardedCanvas canvas(64, 48, BG);
    const IntPoint tri[] = {{-1000000000, -500000000}, {1000000000, 30}, {20, 1000000000}};
    drawPolygon(canvas.surface(), tri, 3, BRUSH, PEN);
    antiAliasPolygon(canvas.surface(), tri, 3, true);
    antiAliasPolygon(canvas.surface(), tri, 3, false);
    antiAliasEdge(canvas.surface(), {INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX - 7});
    antiAliasEdge(canvas.surface(), {0, 0}, {63, 47});
    EXPECT_TRUE(canvas.guardsIntact());
    for (std::uint32_t p : canvas.pixels())
        ASSERT_EQ(p & PIXEL_OPAQUE, PIXEL_OPAQUE);

    Surface empty{nullptr, 64, 48, 64};
    antiAliasEdge(empty, {5, 5}, {20, 9}); // no pixels: nothing happens
}

TEST(AntiAlias, FastPathMatchesTheCheckedLoopAndKeepsPixelsOpaque) {
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> coord(-10, 90);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
    for (int trial = 0; trial < 300; ++trial) {
        GuardedCanvas fast(80, 70, BG), checked(80, 70, BG);
        for (int poly = 0; poly < 4; ++poly) {
            IntPoint pts[6];
            for (auto& p : pts)
                p = {coord(rng), coord(rng)};
            const std::uint32_t brush = colourToPixel(colour(rng));
            const std::uint32_t pen = colourToPixel(colour(rng));
            drawPolygon(fast.surface(), pts, 6, brush, pen);
            drawPolygon(checked.surface(), pts, 6, brush, pen);
            for (int i = 0; i < 6; ++i) {
                antiAliasEdge(fast.surface(), pts[i], pts[(i + 1) % 6]);
                detail::antiAliasEdgeChecked(checked.surface(), pts[i], pts[(i + 1) % 6]);
            }
        }
        ASSERT_EQ(fast.pixels(), checked.pixels()) << "trial " << trial;
        for (std::uint32_t p : fast.pixels())
            ASSERT_EQ(p & PIXEL_OPAQUE, PIXEL_OPAQUE);
        ASSERT_TRUE(fast.guardsIntact());
    }
}
