#include "app/idle/IdleTime.h"

#include <charconv>

namespace lumivane {

std::optional<std::chrono::seconds> parseIdleTime(std::string_view text) {
    long long secondsPerUnit = 60;
    if (text.ends_with('s') || text.ends_with('m')) {
        secondsPerUnit = text.back() == 's' ? 1 : 60;
        text.remove_suffix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    long long count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (count < 1 || count > LONGEST_IDLE_TIME.count() / secondsPerUnit)
        return std::nullopt;
    return std::chrono::seconds(count * secondsPerUnit);
}

} // namespace lumivane
