// Replaces the global allocation functions of this test program with counting
// versions, to show that the scene's per-frame work never touches the heap.
#include "engine/ColourTools.h"
#include "engine/Random.h"
#include "engine/Scene.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

namespace {
std::atomic<long> allocationCount{0};

void* countedAllocation(std::size_t size) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
} // namespace

// Shared with the other tests of this program that check for allocations.
namespace lumivane::testing {
long allocationsSoFar() {
    return allocationCount.load();
}
} // namespace lumivane::testing

void* operator new(std::size_t size) {
    return countedAllocation(size);
}
void* operator new[](std::size_t size) {
    return countedAllocation(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

using namespace lumivane;

TEST(SceneAllocation, FramesAndReloadsAllocateNothing) {
    auto scene = std::make_unique<Scene>();
    Pattern patterns[4];
    sharedRandom().seed(9);
    for (Pattern& pattern : patterns) {
        ColourTools::randomisePattern(pattern);
    }
    patterns[1].screenShape = SCREEN_THREE_MIRROR;
    patterns[2].backgroundMode = BACKGROUND_CHANGING;

    const long before = allocationCount.load();
    scene->setViewport(0, 0, 1024, 768);
    for (int reset = 0; reset < 20; ++reset) {
        const Pattern& pattern = patterns[reset % 4];
        scene->loadPattern(pattern, reset % 5 == 0);
        scene->clearPieces();
        scene->addLayerPieces(pattern.layers[reset % 3], 100);
        scene->loadPattern(pattern, false);
        for (int frame = 0; frame < 200; ++frame) {
            scene->rotate(pattern.rotation);
            for (Piece& piece : scene->pieces()) {
                scene->updatePiece(piece);
            }
        }
    }
    const long after = allocationCount.load();
    EXPECT_EQ(after - before, 0);
    EXPECT_GT(scene->pieceCount(), 0);

    auto probe = std::make_unique<int>(1); // the counter itself works
    EXPECT_EQ(allocationCount.load(), after + 1);
}
