#include "engine/Raster.h"

#include "GuardedCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace lumivane;
using lumivane::testing::GuardedCanvas;

namespace {

constexpr std::uint32_t BG = PIXEL_OPAQUE | 0x000010;
constexpr std::uint32_t BRUSH = PIXEL_OPAQUE | 0x00FF00;
constexpr std::uint32_t PEN = PIXEL_OPAQUE | 0xFF0000;

int countPixels(const GuardedCanvas& canvas, std::uint32_t pixel) {
    int count = 0;
    for (std::uint32_t p : canvas.pixels())
        count += p == pixel ? 1 : 0;
    return count;
}

} // namespace

TEST(Raster, ColourRefBecomesOpaqueRgbPixel) {
    EXPECT_EQ(colourToPixel(0x00332211), 0xFF112233u);
    EXPECT_EQ(colourToPixel(0x00000000), PIXEL_OPAQUE);
    EXPECT_EQ(colourToPixel(0xAAFFFFFF), 0xFFFFFFFFu); // a stray top byte is ignored
}

TEST(Raster, FillRectClipsAndHandlesEveryRunLength) {
    GuardedCanvas canvas(37, 9, BG);
    fillRect(canvas.surface(), -5, -5, 1000, 3, BRUSH); // clipped on three sides
    fillRect(canvas.surface(), 30, 8, -4, 20, PEN);     // empty: right < left
    EXPECT_EQ(countPixels(canvas, BRUSH), 37 * 3);
    EXPECT_TRUE(canvas.guardsIntact());
    for (int len = 0; len <= 37; ++len) { // every tail length of the vector loop
        fillRect(canvas.surface(), 0, 4, len, 5, PEN);
        fillRect(canvas.surface(), len, 4, 37, 5, BG);
        int pens = 0;
        for (int x = 0; x < 37; ++x)
            pens += canvas.at(x, 4) == PEN ? 1 : 0;
        ASSERT_EQ(pens, len);
    }
    EXPECT_TRUE(canvas.guardsIntact());
}

TEST(Raster, RectangleFillsCentresAndOutlineClosesTheRightAndBottom) {
    GuardedCanvas canvas(40, 30, BG);
    const IntPoint rect[] = {{10, 10}, {20, 10}, {20, 15}, {10, 15}};
    drawPolygon(canvas.surface(), rect, 4, BRUSH, PEN);
    EXPECT_EQ(countPixels(canvas, BRUSH), 9 * 4); // (11..19) x (11..14)
    EXPECT_EQ(countPixels(canvas, PEN), 11 * 6 - 9 * 4);
    EXPECT_EQ(canvas.at(20, 15), PEN);
    EXPECT_EQ(canvas.at(21, 15), BG);
}

TEST(Raster, LatticeShowsFourHolesWithEvenOdd) {
    const int authored[][2] = {
        {0, 0},     {220, 0},   {220, 220}, {0, 220},   {0, 0},     {20, 20},   {100, 20},
        {100, 110}, {120, 110}, {120, 20},  {200, 20},  {200, 100}, {120, 100}, {120, 120},
        {200, 120}, {200, 200}, {120, 200}, {120, 110}, {100, 110}, {100, 200}, {20, 200},
        {20, 120},  {100, 120}, {100, 100}, {20, 100},  {20, 20}};
    IntPoint lattice[26];
    for (int i = 0; i < 26; ++i)
        lattice[i] = {authored[i][0] + 5, authored[i][1] + 5};
    GuardedCanvas canvas(240, 240, BG);
    drawPolygon(canvas.surface(), lattice, 26, BRUSH, PEN);
    for (auto [x, y] : {std::pair{65, 65}, {165, 65}, {65, 165}, {165, 165}})
        EXPECT_EQ(canvas.at(x, y), BG) << "hole at " << x << "," << y;
    for (auto [x, y] : {std::pair{15, 115}, {115, 65}, {65, 115}, {113, 109}, {220, 220}})
        EXPECT_EQ(canvas.at(x, y), BRUSH) << "frame or cross at " << x << "," << y;
}

TEST(Raster, PolygonsFarOutsideAreClippedToTheSurface) {
    const IntPoint covering[] = {{-1000000000, -1000000000}, {1000000000, -5}, {3, 1000000000}};
    const IntPoint extreme[] = {{INT32_MIN, INT32_MIN},
                                {INT32_MAX, INT32_MIN},
                                {INT32_MAX, INT32_MAX},
                                {INT32_MIN, INT32_MAX}};
    const IntPoint beside[] = {{-500, -10}, {-3, 5}, {-400, 900}};
    const IntPoint crossing[] = {{-900000000, 7}, {900000000, 12}, {5, -900000000}};
    GuardedCanvas canvas(50, 40, BG);
    drawPolygon(canvas.surface(), beside, 3, BRUSH, PEN);
    EXPECT_EQ(countPixels(canvas, BG), 50 * 40);
    drawPolygon(canvas.surface(), covering, 3, BRUSH, PEN);
    EXPECT_EQ(canvas.at(49, 39), BRUSH);
    drawPolygon(canvas.surface(), extreme, 4, PEN, BRUSH);
    EXPECT_EQ(countPixels(canvas, PEN), 50 * 40);
    drawPolygon(canvas.surface(), crossing, 3, BRUSH, BRUSH);
    std::vector<IntPoint> tooMany(MAX_POLYGON_POINTS + 1, IntPoint{-5, -5});
    tooMany[0] = {100, 100};
    drawPolygon(canvas.surface(), tooMany.data(), MAX_POLYGON_POINTS + 1, BG, BG); // ignored
    EXPECT_EQ(countPixels(canvas, BG), 0);
    EXPECT_TRUE(canvas.guardsIntact());
}

TEST(Raster, RandomPolygonsMatchAPointInPolygonReference) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> coord(-20, 80);
    for (int trial = 0; trial < 200; ++trial) {
        const int n = 3 + trial % 9;
        std::vector<IntPoint> pts(n);
        for (auto& p : pts)
            p = {coord(rng), coord(rng)};
        GuardedCanvas canvas(60, 60, BG);
        drawPolygon(canvas.surface(), pts.data(), n, BRUSH, BRUSH); // outline excluded below
        GuardedCanvas outline(60, 60, BG);
        drawPolygon(outline.surface(), pts.data(), n, BG, PEN);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                if (outline.at(x, y) == PEN)
                    continue;
                bool inside = false; // crossing test at the pixel's own coordinates
                for (int i = 0, j = n - 1; i < n; j = i++) {
                    const double yi = pts[i].y, yj = pts[j].y, cy = y, cx = x;
                    if ((yi > cy) != (yj > cy) &&
                        cx < pts[i].x + (cy - yi) * (pts[j].x - pts[i].x) / (yj - yi))
                        inside = !inside;
                }
                ASSERT_EQ(canvas.at(x, y) == BRUSH, inside)
                    << "trial " << trial << " " << x << "," << y;
            }
        ASSERT_TRUE(canvas.guardsIntact());
    }
}

// Fill and outline take a pixel to stand for the same point, so along every row and column
// a convex polygon covers one unbroken run that starts and ends on its outline: no pixel is
// left between the fill and the outline, and none is filled beyond it.
TEST(Raster, ConvexPolygonsAreClosedByTheirOutline) {
    std::vector<std::vector<IntPoint>> polygons = {
        {{3, 81}, {185, 3}, {230, 28}}, // a corner-mask triangle whose long edge left holes
        {{10, 10}, {60, 12}, {58, 50}, {12, 47}},
        {{5, 40}, {200, 41}, {100, 45}}, // a sliver
    };
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> turn(0.0, 6.283);
    for (int trial = 0; trial < 200; ++trial) { // random convex polygons inside the surface
        std::vector<double> angles(3 + trial % 6);
        for (double& a : angles)
            a = turn(rng);
        std::sort(angles.begin(), angles.end());
        const double cx = 60 + trial % 120, cy = 40 + trial % 20, r = 2 + trial % 37;
        std::vector<IntPoint> pts;
        for (double a : angles)
            pts.push_back(
                {static_cast<int>(cx + r * std::cos(a)), static_cast<int>(cy + r * std::sin(a))});
        polygons.push_back(pts);
    }
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const std::vector<IntPoint>& pts = polygons[i];
        GuardedCanvas canvas(240, 100, BG);
        drawPolygon(canvas.surface(), pts.data(), static_cast<int>(pts.size()), BRUSH, PEN);
        auto checkLine = [&](int length, auto pixelAt) {
            int first = -1, last = -1, covered = 0;
            for (int k = 0; k < length; ++k)
                if (pixelAt(k) != BG) {
                    first = first < 0 ? k : first;
                    last = k;
                    ++covered;
                }
            if (first < 0)
                return;
            EXPECT_EQ(covered, last - first + 1) << "a hole";
            EXPECT_EQ(pixelAt(first), PEN) << "fill beyond the outline";
            EXPECT_EQ(pixelAt(last), PEN) << "fill beyond the outline";
        };
        for (int y = 0; y < 100; ++y) {
            SCOPED_TRACE(::testing::Message() << "polygon " << i << ", row " << y);
            checkLine(240, [&](int x) { return canvas.at(x, y); });
        }
        for (int x = 0; x < 240; ++x) {
            SCOPED_TRACE(::testing::Message() << "polygon " << i << ", column " << x);
            checkLine(100, [&](int y) { return canvas.at(x, y); });
        }
        if (::testing::Test::HasFailure())
            return;
    }
}

// The outline is exactly the edge walk's pixels that lie on the surface, whether an edge
// stays inside (the fast path), touches the border or runs far outside.
TEST(Raster, OutlinePixelsAreTheEdgeWalkClippedToTheSurface) {
    std::mt19937 rng(7);
    struct Case {
        int size;
        int low, high; // coordinate range of the points
    };
    const Case cases[] = {{60, 0, 59}, {60, -20, 80}, {300, 0, 299}, {40, -5000, 5000}};
    for (const Case& c : cases)
        for (int trial = 0; trial < 100; ++trial) {
            std::uniform_int_distribution<int> coord(c.low, c.high);
            const int n = 3 + trial % 6;
            std::vector<IntPoint> pts(n);
            for (auto& p : pts)
                p = {coord(rng), coord(rng)};
            GuardedCanvas drawn(c.size, c.size, BG);
            drawPolygon(drawn.surface(), pts.data(), n, BG, PEN);
            std::vector<std::uint32_t> expected(static_cast<std::size_t>(c.size) * c.size, BG);
            for (int i = 0; i < n; ++i) {
                EdgeWalk walk;
                if (!makeEdgeWalk(pts[i], pts[(i + 1) % n], walk))
                    continue;
                for (std::int64_t k = 0; k < walk.length; ++k) {
                    const std::int64_t x = walk.shallow ? walk.major(k) : walk.minor(k);
                    const std::int64_t y = walk.shallow ? walk.minor(k) : walk.major(k);
                    if (x >= 0 && x < c.size && y >= 0 && y < c.size)
                        expected[static_cast<std::size_t>(y * c.size + x)] = PEN;
                }
            }
            ASSERT_EQ(drawn.pixels(), expected) << "size " << c.size << ", trial " << trial;
            ASSERT_TRUE(drawn.guardsIntact());
        }
}

TEST(Raster, OverlappingBlockCopiesInEveryDirection) {
    const int w = 30, h = 20;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx) {
            GuardedCanvas canvas(w, h, BG);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    canvas.set(x, y, PIXEL_OPAQUE | static_cast<std::uint32_t>(y * 256 + x));
            const std::vector<std::uint32_t> before = canvas.pixels();
            copyBlock(canvas.surface(), 5, 4, 12, 8, 5 + dx, 4 + dy);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const bool inDst = x >= 5 + dx && x < 17 + dx && y >= 4 + dy && y < 12 + dy;
                    const std::uint32_t expected =
                        inDst ? before[(y - dy) * w + (x - dx)] : before[y * w + x];
                    ASSERT_EQ(canvas.at(x, y), expected)
                        << dx << "," << dy << " at " << x << "," << y;
                }
        }
}

TEST(Raster, BlockCopiesClipSourceAndDestination) {
    const int w = 16, h = 12;
    GuardedCanvas canvas(w, h, BG);
    for (int x = 0; x < w; ++x)
        canvas.set(x, 0, PIXEL_OPAQUE | static_cast<std::uint32_t>(x));
    // Source partly left of the surface: only the visible columns arrive, shifted alike.
    copyBlock(canvas.surface(), -4, 0, 10, 1, 3, 5);
    EXPECT_EQ(canvas.at(7, 5), PIXEL_OPAQUE | 0u);
    EXPECT_EQ(canvas.at(12, 5), PIXEL_OPAQUE | 5u);
    EXPECT_EQ(canvas.at(13, 5), BG);
    EXPECT_EQ(canvas.at(6, 5), BG);
    copyBlock(canvas.surface(), 0, 0, 100, 100, 10, -3);
    copyBlock(canvas.surface(), 0, 0, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX);
    copyBlock(canvas.surface(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, 0);
    EXPECT_TRUE(canvas.guardsIntact());
}
