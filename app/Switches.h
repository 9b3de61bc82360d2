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

// The window handle given with the switch: after a colon in the switch
// ("/p:1234") or as the second argument ("/p 1234"); its leading digits count
// ("/p 12ab" is 12). A missing or unreadable handle counts as 0; one too large
// for a number is held at the limit and so names no window.
long long windowHandleFrom(const std::vector<std::string>& args);

// Modes that open windows need the display; the others run without one.
constexpr bool runModeNeedsDisplay(RunMode mode) {
    return mode == RunMode::Configure || mode == RunMode::Preview || mode == RunMode::FullScreen;
}

} // namespace lumivane
