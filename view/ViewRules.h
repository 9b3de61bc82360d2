// The small numeric rules of the kaleidoscope windows: timer periods, when the
// pattern name is shown and in which colour, and how far the pointer may move
// before the full-screen saver ends. Plain functions, so each rule is checked
// on its own.
#pragma once

#include "patterns/Pattern.h"

#include <cstdint>
#include <cstdlib>

namespace lumivane {

// A frame period long enough to count as stopped.
constexpr int FRAME_INTERVAL_STOPPED_MS = 1000000;
// The shortest period a window timer runs at; damaged patterns can ask for less.
constexpr int MIN_TIMER_INTERVAL_MS = 10;
// Closing waits for one more frame tick of this length.
constexpr int CLOSE_DELAY_MS = 40;

// The name overlay needs a client wider than this (so previews never show it)
// and shows for this long after each reset.
constexpr int NAME_MIN_CLIENT_WIDTH = 550;
constexpr std::uint32_t NAME_SHOW_MS = 10000;
constexpr int NAME_TOP = 10;
constexpr int NAME_FONT_HEIGHT = 30;
constexpr std::uint32_t NAME_LIGHT = 0xE0E0E0; // 0xRRGGBB
constexpr std::uint32_t NAME_DARK = 0x000000;

// The pointer may wander this far along x or along y from its first position.
constexpr int POINTER_SLACK = 50;

// 540 - 5n ms for n above 0, "stopped" otherwise. n = speed after a size
// change, speed + 1 after a reset, so speed 0..100 gives 35..535 ms. n is
// wide enough for speed + 1 of any stored speed (files from elsewhere hold
// every int32), and the result is held to what a timer can run at.
constexpr int frameIntervalMs(std::int64_t n) {
    if (n <= 0) {
        return FRAME_INTERVAL_STOPPED_MS;
    }
    if (n > (540 - MIN_TIMER_INTERVAL_MS) / 5) {
        return MIN_TIMER_INTERVAL_MS;
    }
    return 540 - 5 * static_cast<int>(n);
}

// n for the frame interval after a reset: the speed + 1, without overflow.
constexpr std::int64_t speedAfterReset(std::int32_t speed) {
    return std::int64_t{speed} + 1;
}

// The reset period for a pattern's resetTime in seconds. Stored patterns keep
// 1..1000000 seconds; values outside are held to that range so that a damaged
// pattern neither resets continuously nor overflows the timer.
constexpr int resetIntervalMs(std::int32_t resetTimeSeconds) {
    constexpr std::int32_t longest = 1000000;
    std::int32_t seconds = resetTimeSeconds < 1 ? 1 : resetTimeSeconds;
    seconds = seconds > longest ? longest : seconds;
    return seconds * 1000;
}

constexpr bool nameFitsClient(int clientWidth) {
    return clientWidth > NAME_MIN_CLIENT_WIDTH;
}

// now - resetTick as an unsigned 32-bit difference, so the tick may wrap.
constexpr bool nameStillShowing(std::uint32_t now, std::uint32_t resetTick) {
    return static_cast<std::uint32_t>(now - resetTick) < NAME_SHOW_MS;
}

// Light grey on dark backgrounds (red + green + blue below 384), black otherwise.
constexpr std::uint32_t nameColourFor(ColourRef background) {
    const std::uint32_t sum =
        (background & 0xFF) + ((background >> 8) & 0xFF) + ((background >> 16) & 0xFF);
    return sum < 384 ? NAME_LIGHT : NAME_DARK;
}

// Centred text position; the division truncates toward zero, as when the
// text is wider than the client.
constexpr int nameLeft(int clientWidth, int textWidth) {
    return (clientWidth - textWidth) / 2;
}

// The pointer test is against a fixed reference point, per axis (a square of
// 101 x 101 pixels around the reference is free).
inline bool pointerMovedTooFar(int referenceX, int referenceY, int x, int y) {
    return std::abs(x - referenceX) > POINTER_SLACK || std::abs(y - referenceY) > POINTER_SLACK;
}

} // namespace lumivane
