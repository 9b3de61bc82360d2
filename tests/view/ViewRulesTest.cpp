#include "view/ViewRules.h"
#include "view/HostWindow.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumivane {
namespace {

TEST(ViewRules, FramePeriodFollowsSpeedAndNeverDropsBelowTheTimerMinimum) {
    const struct {
        int n;
        int expectedMs;
    } cases[] = {
        {INT_MIN, FRAME_INTERVAL_STOPPED_MS},
        {-5, FRAME_INTERVAL_STOPPED_MS},
        {0, FRAME_INTERVAL_STOPPED_MS},
        {1, 535},
        {50, 290},
        {51, 285},
        {100, 40},
        {101, 35},
        {106, 10},
        {107, MIN_TIMER_INTERVAL_MS},
        {INT_MAX, MIN_TIMER_INTERVAL_MS},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frameIntervalMs(c.n), c.expectedMs) << "n = " << c.n;
    }
}

TEST(ViewRules, ResetPeriodIsHeldToTheStoredRange) {
    EXPECT_EQ(resetIntervalMs(50), 50000);
    EXPECT_EQ(resetIntervalMs(1), 1000);
    EXPECT_EQ(resetIntervalMs(0), 1000);
    EXPECT_EQ(resetIntervalMs(-7), 1000);
    EXPECT_EQ(resetIntervalMs(1000000), 1000000000);
    EXPECT_EQ(resetIntervalMs(INT_MAX), 1000000000);
}

TEST(ViewRules, NameColourDependsOnTheBackgroundsChannelSum) {
    EXPECT_EQ(nameColourFor(0x000000), NAME_LIGHT);
    EXPECT_EQ(nameColourFor(0x7F7F7F), NAME_LIGHT); // 381
    EXPECT_EQ(nameColourFor(0x017FFF), NAME_LIGHT); // 383
    EXPECT_EQ(nameColourFor(0x807F80), NAME_LIGHT); // 383
    EXPECT_EQ(nameColourFor(0x808080), NAME_DARK);  // 384
    EXPECT_EQ(nameColourFor(0xFFFFFF), NAME_DARK);
    EXPECT_EQ(NAME_LIGHT, 0xE0E0E0u);
}

TEST(ViewRules, NameShowsOnWideClientsForTenSecondsEvenAcrossTheTickWrap) {
    EXPECT_FALSE(nameFitsClient(550));
    EXPECT_TRUE(nameFitsClient(551));

    EXPECT_TRUE(nameStillShowing(5000, 5000));
    EXPECT_TRUE(nameStillShowing(14999, 5000));
    EXPECT_FALSE(nameStillShowing(15000, 5000));
    EXPECT_TRUE(nameStillShowing(0x00000100u, 0xFFFFF000u));  // 4352 ms after the wrap
    EXPECT_FALSE(nameStillShowing(0xFFFFF000u, 0x00000100u)); // "before" the reset: long ago

    EXPECT_EQ(nameLeft(1000, 200), 400);
    EXPECT_EQ(nameLeft(551, 100), 225);
    EXPECT_EQ(nameLeft(500, 503), -1); // truncated toward zero
}

TEST(ViewRules, PointerSlackIsASquareAroundTheReference) {
    EXPECT_FALSE(pointerMovedTooFar(100, 100, 150, 100));
    EXPECT_FALSE(pointerMovedTooFar(100, 100, 50, 150));
    EXPECT_FALSE(pointerMovedTooFar(100, 100, 150, 150)); // 70 px away, yet inside the square
    EXPECT_TRUE(pointerMovedTooFar(100, 100, 151, 100));
    EXPECT_TRUE(pointerMovedTooFar(100, 100, 100, 49));
}

TEST(WindowIds, HexadecimalOrDecimalWithinTheXRange) {
    EXPECT_EQ(parseWindowId("12345"), 12345);
    EXPECT_EQ(parseWindowId("0x1e00007"), 0x1e00007);
    EXPECT_EQ(parseWindowId("0XFFFFFFFF"), 0xFFFFFFFFLL);
    for (const char* bad : {"", "0", "0x", "-5", "+5", "12ab", "0x1g", "4294967296", " 12"}) {
        EXPECT_FALSE(parseWindowId(bad)) << '"' << bad << '"';
    }
}

TEST(WindowIds, IdsOutsideTheXRangeNameNoWindow) {
    EXPECT_EQ(HostWindow::open(0), nullptr);
    EXPECT_EQ(HostWindow::open(-1), nullptr);
    EXPECT_EQ(HostWindow::open(0x100000000LL), nullptr);
}

} // namespace
} // namespace lumivane
