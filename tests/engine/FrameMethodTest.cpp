// The write-once frame gives the very pixels of the frame drawn in order, for random and
// damaged patterns at ordinary, odd and tiny sizes, including frames too large for the
// compositor; and it leaves the pixels around the surface alone.
#include "engine/Renderer.h"

#include "GuardedCanvas.h"
#include "engine/ColourTools.h"
#include "engine/Compositor.h"
#include "engine/Random.h"
#include "engine/Scene.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace lumivane;
using lumivane::testing::GuardedCanvas;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int SCALE_DOWN = 10; // the sanitizer build is about ten times slower
#else
constexpr int SCALE_DOWN = 1;
#endif

class Counter : public PolygonRecorder {
  public:
    void polygon(const IntPoint*, int, std::uint32_t, std::uint32_t) override { ++count; }
    int count = 0;
};

Pattern patternNumber(int n, std::mt19937& bytes) {
    sharedRandom().seed(static_cast<std::uint32_t>(1000 + n));
    Pattern pattern;
    ColourTools::randomisePattern(pattern);
    pattern.screenShape = n % 4;
    pattern.backgroundMode = n % 3;
    pattern.darkBorders = (n / 4) % 2;
    if (n % 5 == 4) { // damaged: random bytes
        unsigned char raw[sizeof(Pattern)];
        for (unsigned char& b : raw)
            b = static_cast<unsigned char>(bytes());
        std::memcpy(&pattern, raw, sizeof pattern);
    }
    return pattern;
}

Pattern densePattern(int shape) {
    Pattern pattern;
    for (int& amount : pattern.amount)
        amount = 100;
    pattern.symmetry = 20;
    pattern.imageSize = 100;
    pattern.screenShape = shape;
    return pattern;
}

// Fills the whole pool with copies of the spawned pieces, all inside the fundamental
// triangle, so that every one of them is drawn in every mirror image.
void crowd(Scene& scene) {
    const int spawned = scene.pieceCount;
    for (int i = 0; i < MAX_PIECES; ++i) {
        Piece& piece = scene.pieces[static_cast<std::size_t>(i)];
        piece = scene.pieces[static_cast<std::size_t>(i % spawned)];
        piece.x = scene.mirrorRadius * (0.3 + 0.08 * (i % 7));
        piece.y = piece.x * 0.05;
    }
    scene.pieceCount = MAX_PIECES;
}

// The frames of one pattern with one method, from the same seed.
std::vector<std::vector<std::uint32_t>> framesOf(const Pattern& pattern, int width, int height,
                                                 int frames, FrameMethod method, int& polygons,
                                                 bool crowded) {
    sharedRandom().seed(77);
    auto scene = std::make_unique<Scene>();
    scene->setViewport(0, 0, width, height);
    scene->loadPattern(pattern, false);
    if (crowded)
        crowd(*scene);
    // Different stale pixels, so a pixel either method fails to write shows up.
    GuardedCanvas canvas(width, height, method == FrameMethod::InOrder ? 0xFF123456u : 0xFF654321u);
    std::vector<std::vector<std::uint32_t>> out;
    for (int frame = 0; frame < frames; ++frame) {
        scene->rotate(pattern.rotation);
        Counter counter;
        renderFrame(*scene, canvas.surface(), false, &counter, method);
        polygons = std::max(polygons, counter.count);
        out.push_back(canvas.pixels());
        EXPECT_TRUE(canvas.guardsIntact());
    }
    return out;
}

void expectSameFrames(const Pattern& pattern, int width, int height, int frames, int& mostPolygons,
                      bool crowded = false) {
    int polygons = 0;
    const auto inOrder =
        framesOf(pattern, width, height, frames, FrameMethod::InOrder, polygons, crowded);
    const auto writeOnce =
        framesOf(pattern, width, height, frames, FrameMethod::WriteOnce, polygons, crowded);
    mostPolygons = std::max(mostPolygons, polygons);
    for (int frame = 0; frame < frames; ++frame) {
        const auto& a = inOrder[static_cast<std::size_t>(frame)];
        const auto& b = writeOnce[static_cast<std::size_t>(frame)];
        int differing = 0;
        std::size_t first = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i] && differing++ == 0)
                first = i;
        ASSERT_EQ(differing, 0) << "frame " << frame << ": first at (" << first % width << ", "
                                << first / width << ")";
    }
}

TEST(FrameMethod, WriteOnceGivesTheSamePixelsAsDrawingInOrder) {
    const struct {
        int width, height, patterns, frames;
    } rows[] = {{480, 270, 200 / SCALE_DOWN, 3},
                {1, 1, 12, 2},
                {3, 7, 12, 2},
                {40, 9, 12, 2},
                {65, 130, 12, 2},
                {641, 479, 6, 2}};
    std::mt19937 bytes(4242);
    for (const auto& row : rows) {
        int mostPolygons = 0;
        for (int n = 0; n < row.patterns; ++n) {
            SCOPED_TRACE(::testing::Message()
                         << row.width << "x" << row.height << " pattern " << n);
            expectSameFrames(patternNumber(n, bytes), row.width, row.height, row.frames,
                             mostPolygons);
        }
    }
}

// Dense patterns of every screen shape, and a pool full of pieces that all survive the
// clipping: more polygons than the compositor holds, so the frame carries on in order.
TEST(FrameMethod, DenseFramesMatchToo) {
    int mostPolygons = 0;
    for (int shape = 0; shape < 4; ++shape) {
        SCOPED_TRACE(::testing::Message() << "shape " << shape);
        expectSameFrames(densePattern(shape), 480, 270, 2, mostPolygons);
    }
    expectSameFrames(densePattern(SCREEN_CIRCLE), 320, 180, 2, mostPolygons, true);
    EXPECT_GT(mostPolygons, FrameCompositor::MAX_POLYGONS);
}

} // namespace
