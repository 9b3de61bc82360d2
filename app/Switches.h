// The one-letter switches the screen-saver host starts the program with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

enum class RunMode { Configure, Preview, FullScreen, ChangePassword, Nothing };

// True when argument, after one leading '-' or '/', is not empty and starts
// with letter; case does not matter and anything after the letter is ignored.
bool matchesSwitch(std::string_view argument, char letter);

// The run mode for the arguments after the program name.
RunMode runModeFor(const std::vector<std::string>& args);

// A handle that names no window: a number outside 0..2^32-1.
inline constexpr long long NOT_A_WINDOW = -1;

// The window handle given with the switch: after a colon in the switch
// ("/p:1234") or as the second argument ("/p 1234"); its leading digits count
// ("/p 12ab" is 12). A missing or unreadable handle counts as 0; a negative
// one or one too large for a window id is NOT_A_WINDOW.
long long windowHandleFrom(const std::vector<std::string>& args);

// Modes that open windows need the display; the others run without one.
constexpr bool runModeNeedsDisplay(RunMode mode) {
    return mode == RunMode::Configure || mode == RunMode::Preview || mode == RunMode::FullScreen;
}

} // namespace lumivane
