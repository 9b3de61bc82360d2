// The idle time the watcher is given: "10m", "90s", or a bare number of
// minutes, from one second to one day.
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace lumivane {

inline constexpr std::chrono::seconds LONGEST_IDLE_TIME = std::chrono::hours(24);

// Nothing when text is not such a time or lies outside the range.
std::optional<std::chrono::seconds> parseIdleTime(std::string_view text);

} // namespace lumivane
