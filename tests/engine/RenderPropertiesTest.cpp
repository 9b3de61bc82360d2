// Properties of whole rendered frames: mirror symmetry, blank images, the
// rounded outline, the Three Mirror brick pattern, no allocation, staying
// inside the surface whatever the pattern, and determinism.
#include "engine/Renderer.h"

#include "GuardedCanvas.h"
#include "engine/ColourTools.h"
#include "engine/Geometry.h"
#include "engine/Random.h"
#include "engine/Scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace lumivane::testing {
long allocationsSoFar(); // SceneAllocationTest.cpp counts every global operator new
}

using namespace lumivane;
using lumivane::testing::GuardedCanvas;

namespace {

constexpr double PI = std::numbers::pi;

std::unique_ptr<Scene> sceneFor(const Pattern& pattern, int width, int height) {
    auto scene = std::make_unique<Scene>();
    scene->setViewport(0, 0, width, height);
    scene->loadPattern(pattern, false);
    return scene;
}

Pattern randomPattern(std::uint32_t seed, int screenShape) {
    sharedRandom().seed(seed);
    Pattern pattern;
    ColourTools::randomisePattern(pattern);
    pattern.screenShape = screenShape;
    return pattern;
}

void runFrames(Scene& scene, const Pattern& pattern, Surface& surface, bool antiAlias, int n) {
    for (int frame = 0; frame < n; ++frame) {
        scene.rotate(pattern.rotation);
        scene.renderFrame(surface, antiAlias);
    }
}

bool similar(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - ((b >> shift) & 0xFF);
        if (std::abs(difference) > tolerance)
            return false;
    }
    return true;
}

// Whether the pixel matches one within a pixel of (x, y): truncating vertex
// coordinates toward zero and sampling at pixel centres move edges by up to a
// pixel between an image and its mirrored or rotated copies.
bool matchesNear(const GuardedCanvas& canvas, const ImageGeometry& g, std::uint32_t pixel, int x,
                 int y, int tolerance) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = std::clamp(x + dx, 0, g.width - 1);
            const int ny = std::clamp(y + dy, 0, g.height - 1);
            if (similar(pixel, canvas.at(nx, ny), tolerance))
                return true;
        }
    return false;
}

// A linear map of image coordinates about the centre: rotation or reflection.
struct Transform {
    double xx, xy, yx, yy;

    static Transform rotation(double a) {
        return {std::cos(a), -std::sin(a), std::sin(a), std::cos(a)};
    }
    // Reflection across the line through the centre at angle a.
    static Transform mirror(double a) {
        return {std::cos(2 * a), std::sin(2 * a), std::sin(2 * a), -std::cos(2 * a)};
    }
};

// The share of pixels within `radius` of the centre whose transformed twin
// (taken at the pixel centres) differs from them by more than the tolerance.
double mismatchShare(const GuardedCanvas& canvas, const Scene& scene, double radius,
                     const Transform& t, int tolerance) {
    const ImageGeometry& g = scene.geometry();
    int compared = 0;
    int mismatched = 0;
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            const double rx = x - g.centreX;
            const double ry = y - g.centreY;
            if (rx * rx + ry * ry > radius * radius)
                continue;
            const int tx = static_cast<int>(std::lround(g.centreX + t.xx * rx + t.xy * ry));
            const int ty = static_cast<int>(std::lround(g.centreY + t.yx * rx + t.yy * ry));
            if (tx < 0 || ty < 0 || tx >= g.width || ty >= g.height)
                continue;
            ++compared;
            if (!matchesNear(canvas, g, canvas.at(x, y), tx, ty, tolerance))
                ++mismatched;
        }
    }
    return compared == 0 ? 1.0 : static_cast<double>(mismatched) / compared;
}

// Where the image lies, from its geometry rather than its pixels: the mirror images of the
// fundamental triangle, grown by the size factor, with the corner masks cut away or not.
class Figure {
  public:
    explicit Figure(const ImageGeometry& g)
        : g_(g), half_(PI / effectiveSymmetry(g.symmetry)),
          slope_(std::tan((1.0 + 1.0 / effectiveSymmetry(g.symmetry)) * PI / 2.0)) {
        double theta[CORNER_MASK_POINTS], rho[CORNER_MASK_POINTS];
        cornerMaskTriangle(g, theta, rho);
        for (int i = 0; i < CORNER_MASK_POINTS; ++i) {
            maskX_[i] = rho[i] * std::cos(theta[i]);
            maskY_[i] = rho[i] * std::sin(theta[i]);
        }
    }

    // (x, y) relative to the image centre.
    bool contains(double x, double y, bool masked) const {
        const ImageGeometry& g = g_;
        const bool rectangle = g.shape == SCREEN_RECTANGLE;
        if (g.shape == SCREEN_OVAL)
            x /= static_cast<double>(g.width) / g.height;
        const double r = std::hypot(x, y);
        double alpha = std::fmod(std::atan2(y, x) - g.orientation, 2 * PI);
        alpha += alpha < 0 ? 2 * PI : 0;
        double t = std::fmod(alpha, 2 * half_); // folded into the first half sector
        t = t > half_ ? 2 * half_ - t : t;
        double d = r / g.sizeFactor; // distance from the centre inside the triangle
        if (rectangle) { // the image point lies u/R of the way to the border, u = d cos(t)
            const double diagonal = std::atan2(g.height, g.width);
            const double folded = std::fmod(alpha, PI);
            const bool steep = diagonal < folded && folded < PI - diagonal;
            const double border = steep ? g.height / std::fabs(std::sin(alpha))
                                        : g.width / std::fabs(std::cos(alpha));
            d = r * 2 * g.radius / border / (g.sizeFactor * std::cos(t));
        }
        if (d * std::sin(t) > slope_ * (d * std::cos(t) - g.radius))
            return false; // beyond the outer edge of the triangle
        if (!masked || rectangle)
            return true;
        return !inMask(r, t) && !inMask(r, half_ - t);
    }

  private:
    bool inMask(double r, double t) const {
        const double px = r * std::cos(t), py = r * std::sin(t);
        bool negative = false, positive = false;
        for (int i = 0; i < CORNER_MASK_POINTS; ++i) {
            const int j = (i + 1) % CORNER_MASK_POINTS;
            const double cross = (maskX_[j] - maskX_[i]) * (py - maskY_[i]) -
                                 (maskY_[j] - maskY_[i]) * (px - maskX_[i]);
            negative |= cross < 0;
            positive |= cross > 0;
        }
        return !(negative && positive);
    }

    ImageGeometry g_;
    double half_;
    double slope_;
    double maskX_[CORNER_MASK_POINTS], maskY_[CORNER_MASK_POINTS];
};

// Isolated pixels just outside the image: unlike the background but with at least seven of
// their eight neighbours like it (anti-aliasing leaves faint tints, so "like" allows 24
// levels), more than a pixel outside the masked figure (vertices are truncated, so edges may
// stray by a pixel) and no more than 6 pixels beyond the unmasked one.
int specksBesideTheFigure(const GuardedCanvas& canvas, const Scene& scene) {
    const ImageGeometry& g = scene.geometry();
    const Figure figure(g);
    auto anyWithin = [&](int x, int y, int d, bool masked) {
        for (int dy = -d; dy <= d; ++dy)
            for (int dx = -d; dx <= d; ++dx)
                if (figure.contains(x + dx - g.centreX, y + dy - g.centreY, masked))
                    return true;
        return false;
    };
    const std::uint32_t background = colourToPixel(scene.background().colour);
    auto likeBackground = [&](int x, int y) { return similar(canvas.at(x, y), background, 24); };
    int specks = 0;
    for (int y = 1; y + 1 < g.height; ++y)
        for (int x = 1; x + 1 < g.width; ++x) {
            if (likeBackground(x, y))
                continue;
            int alike = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    alike += (dx != 0 || dy != 0) && likeBackground(x + dx, y + dy);
            specks += alike >= 7 && !anyWithin(x, y, 1, true) && anyWithin(x, y, 6, false);
        }
    return specks;
}

} // namespace

TEST(RenderProperties, CircleImageHasTheSymmetriesOfItsMirrors) {
    constexpr int SIDE = 301;
    for (int symmetry : {5, 6, 9}) {
        for (bool antiAlias : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "N " << symmetry << " antiAlias " << antiAlias);
            Pattern pattern = randomPattern(300 + symmetry, SCREEN_CIRCLE);
            pattern.symmetry = symmetry;
            pattern.balance = 50; // o = -pi/2
            pattern.amount[0] = pattern.amount[1] = pattern.amount[2] = 40;
            pattern.backgroundMode = BACKGROUND_CONSTANT;
            auto scene = sceneFor(pattern, SIDE, SIDE);
            GuardedCanvas canvas(SIDE, SIDE, 0);
            runFrames(*scene, pattern, canvas.surface(), antiAlias, 3);

            const double sector = 2 * PI / symmetry;
            const double o = -PI / 2;
            const struct {
                const char* name;
                Transform transform;
                bool symmetric;
            } cases[] = {
                {"one sector on", Transform::rotation(sector), true},
                {"two sectors back", Transform::rotation(-2 * sector), true},
                {"mirror at the first bisector", Transform::mirror(o + sector / 2), true},
                {"mirror between two sectors", Transform::mirror(o), true},
                {"half a sector on", Transform::rotation(sector / 2), false}, // the test has teeth
            };
            const double radius = scene->geometry().radius * scene->geometry().sizeFactor + 2;
            const int tolerance = antiAlias ? 40 : 0;
            const double allowed = antiAlias ? 0.04 : 0.02;
            for (const auto& c : cases) {
                const double share = mismatchShare(canvas, *scene, radius, c.transform, tolerance);
                if (c.symmetric) {
                    EXPECT_LT(share, allowed) << c.name;
                } else {
                    EXPECT_GT(share, 0.15) << c.name;
                }
            }
            EXPECT_TRUE(canvas.guardsIntact());
        }
    }
}

TEST(RenderProperties, NoPiecesGiveAUniformFrameInEveryShape) {
    const struct {
        int shape;
        ColourRef background;
        int mode;
    } rows[] = {
        {SCREEN_CIRCLE, 0x000000, BACKGROUND_CONSTANT},
        {SCREEN_CIRCLE, 0x3366CC, BACKGROUND_CONSTANT},
        {SCREEN_OVAL, 0xFFFFFF, BACKGROUND_CONSTANT},
        {SCREEN_OVAL, 0x20A040, BACKGROUND_CHANGING},
        {SCREEN_RECTANGLE, 0x3366CC, BACKGROUND_RANDOM},
        {SCREEN_THREE_MIRROR, 0x3366CC, BACKGROUND_CONSTANT},
    };
    for (const auto& row : rows) {
        for (bool antiAlias : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "shape " << row.shape << " mode " << row.mode
                                              << " antiAlias " << antiAlias);
            Pattern pattern;
            pattern.screenShape = row.shape;
            pattern.backgroundColour = row.background;
            pattern.backgroundMode = row.mode;
            pattern.amount[0] = pattern.amount[1] = pattern.amount[2] = 0;
            auto scene = sceneFor(pattern, 161, 120);
            ASSERT_EQ(scene->pieceCount(), 0);
            GuardedCanvas canvas(161, 120, 0);
            runFrames(*scene, pattern, canvas.surface(), antiAlias, 2);
            const std::uint32_t background = colourToPixel(scene->background().colour);
            int odd = 0;
            for (std::uint32_t pixel : canvas.pixels())
                odd += pixel != background;
            EXPECT_EQ(odd, 0);
        }
    }
}

TEST(RenderProperties, CornerMasksRoundOffTheCornersOfTheImage) {
    constexpr int SIDE = 400;
    constexpr int N = 6;
    constexpr ColourRef BACKGROUND = 0xFFFFFF;
    constexpr ColourRef FILL = 0x0000C0;
    Pattern pattern;
    pattern.screenShape = SCREEN_CIRCLE;
    pattern.symmetry = N;
    pattern.imageSize = 49; // size factor 1
    pattern.backgroundColour = BACKGROUND;
    pattern.amount[0] = pattern.amount[1] = pattern.amount[2] = 0;
    auto scene = sceneFor(pattern, SIDE, SIDE);
    // One piece that covers the whole fundamental triangle: its images fill the 2N-gon.
    scene->addLayerPieces(Layer{}, 1);
    Piece& piece = scene->pieces()[0];
    piece = Piece{};
    piece.shape = 0;
    piece.size = 3.0;
    piece.x = 100.0;
    piece.y = 50.0;
    piece.colour = FILL;
    piece.border = false;
    GuardedCanvas canvas(SIDE, SIDE, 0);
    scene->renderFrame(canvas.surface(), false);

    const ImageGeometry& g = scene->geometry();
    const double R = g.radius; // 192; the masks start about 187 out
    auto pixelAt = [&](double angle, double radius) {
        const double x = g.centreX + radius * std::cos(angle);
        const double y = g.centreY + radius * std::sin(angle);
        return canvas.at(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
    };
    for (int k = 0; k < 2 * N; ++k) {
        SCOPED_TRACE(::testing::Message() << "corner " << k);
        const double corner = g.orientation + k * PI / N;
        const double sideMiddle = corner + PI / (2 * N);
        EXPECT_EQ(pixelAt(corner, R - 12), colourToPixel(FILL));
        EXPECT_EQ(pixelAt(corner, R - 2), colourToPixel(BACKGROUND)); // cut off
        EXPECT_EQ(pixelAt(sideMiddle, R * std::cos(PI / (2 * N)) - 3), colourToPixel(FILL));
        EXPECT_EQ(pixelAt(sideMiddle, R), colourToPixel(BACKGROUND));
    }
}

// Pieces, the corner masks and the edge pass leave no dirt beside the image.
TEST(RenderProperties, NoSpecksBesideTheImage) {
#if defined(__SANITIZE_ADDRESS__)
    constexpr int PATTERNS = 30;
#else
    constexpr int PATTERNS = 200;
#endif
    for (int n = 0; n < PATTERNS; ++n) {
        const Pattern pattern = randomPattern(7000 + n, n % 3); // Circle, Oval, Rectangle
        auto scene = sceneFor(pattern, 480, 270);
        GuardedCanvas canvas(480, 270, 0);
        runFrames(*scene, pattern, canvas.surface(), n % 2 == 1, 3);
        EXPECT_EQ(specksBesideTheFigure(canvas, *scene), 0) << "pattern " << n;
    }
    // A dotted line along the edge of a corner mask, seen in a full-screen frame.
    for (bool antiAlias : {false, true}) {
        const Pattern pattern = randomPattern(2, SCREEN_OVAL);
        auto scene = sceneFor(pattern, 1920, 1080);
        GuardedCanvas canvas(1920, 1080, 0);
        runFrames(*scene, pattern, canvas.surface(), antiAlias, 100);
        EXPECT_EQ(specksBesideTheFigure(canvas, *scene), 0) << "antiAlias " << antiAlias;
    }
}

TEST(RenderProperties, ThreeMirrorRepeatsItsBlockAsBricks) {
    const struct {
        int width, height, imageSize;
    } rows[] = {{320, 240, 19}, {333, 251, 50}, {97, 61, 30}};
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.width << "x" << row.height);
        Pattern pattern = randomPattern(500 + row.width, SCREEN_THREE_MIRROR);
        pattern.imageSize = row.imageSize;
        auto scene = sceneFor(pattern, row.width, row.height);
        GuardedCanvas canvas(row.width, row.height, 0);
        runFrames(*scene, pattern, canvas.surface(), true, 4);
        const TilingLayout layout = tilingLayout(scene->geometry());
        const int s = layout.halfWidth;
        const int h = layout.height;
        int across = 0, down = 0, colours = 0;
        for (int y = 0; y < row.height; ++y) {
            for (int x = 0; x < row.width; ++x) {
                const std::uint32_t pixel = canvas.at(x, y);
                colours += pixel != canvas.at(0, 0);
                if (x + 2 * s < row.width)
                    across += pixel != canvas.at(x + 2 * s, y);
                if (x + s < row.width && y + h < row.height)
                    down += pixel != canvas.at(x + s, y + h); // next row, half a block over
            }
        }
        EXPECT_EQ(across, 0);
        EXPECT_EQ(down, 0);
        EXPECT_GT(colours, 0); // the image is not blank, so the comparison means something
        EXPECT_TRUE(canvas.guardsIntact());
    }
}

TEST(RenderProperties, FramesAllocateNothing) {
    auto scene = std::make_unique<Scene>();
    scene->setViewport(0, 0, 320, 200);
    GuardedCanvas canvas(320, 200, 0);
    Pattern patterns[4];
    for (int shape = 0; shape < 4; ++shape) {
        patterns[shape] = randomPattern(40 + shape, shape);
        patterns[shape].backgroundMode = shape % 3;
        patterns[shape].darkBorders = shape % 2;
    }
    const long before = lumivane::testing::allocationsSoFar();
    for (const Pattern& pattern : patterns) {
        scene->loadPattern(pattern, false);
        for (bool antiAlias : {false, true})
            runFrames(*scene, pattern, canvas.surface(), antiAlias, 25);
    }
    EXPECT_EQ(lumivane::testing::allocationsSoFar() - before, 0);
}

// Random designs and patterns of random bytes at tiny, odd and large sizes:
// nothing is written outside the surface (and the sanitizer build finds no
// fault while drawing).
TEST(RenderProperties, AnyPatternStaysInsideTheSurface) {
    const struct {
        int width, height, patterns, frames;
    } rows[] = {{1, 1, 40, 15},  {2, 2, 40, 15},    {3, 7, 40, 15},
                {40, 9, 40, 10}, {641, 479, 30, 4}, {1920, 1080, 4, 2}};
    std::mt19937 bytes(12345);
    auto scene = std::make_unique<Scene>();
    for (const auto& row : rows) {
        GuardedCanvas canvas(row.width, row.height, 0);
        scene->setViewport(0, 0, row.width, row.height);
        for (int n = 0; n < row.patterns; ++n) {
            SCOPED_TRACE(::testing::Message()
                         << row.width << "x" << row.height << " pattern " << n);
            Pattern pattern = randomPattern(n, n % 4);
            if (n % 2 == 1) {
                unsigned char raw[sizeof(Pattern)];
                for (unsigned char& b : raw)
                    b = static_cast<unsigned char>(bytes());
                std::memcpy(&pattern, raw, sizeof pattern);
            }
            scene->loadPattern(pattern, false);
            runFrames(*scene, pattern, canvas.surface(), n % 3 != 0, row.frames);
            ASSERT_TRUE(canvas.guardsIntact());
        }
    }
}

TEST(RenderProperties, SameSeedGivesTheSameFrames) {
    auto render = [](std::uint32_t seed) {
        Pattern pattern = randomPattern(seed, SCREEN_OVAL);
        pattern.backgroundMode = BACKGROUND_CHANGING;
        auto scene = sceneFor(pattern, 160, 100);
        GuardedCanvas canvas(160, 100, 0);
        std::vector<std::vector<std::uint32_t>> frames;
        for (int frame = 0; frame < 10; ++frame) {
            runFrames(*scene, pattern, canvas.surface(), true, 1);
            frames.push_back(canvas.pixels());
        }
        return frames;
    };
    const auto first = render(2024);
    EXPECT_EQ(render(2024), first);
    EXPECT_NE(render(2025), first);
}
