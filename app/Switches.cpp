#include "app/Switches.h"

#include <cctype>
#include <charconv>

namespace lumivane {
namespace {

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

constexpr long long LARGEST_WINDOW_ID = 0xFFFFFFFFLL;

// The leading decimal number of text (after blanks), 0 when there is none. A
// negative number or one too large for a window id is NOT_A_WINDOW, rather
// than 0, which would mean "no handle given".
long long leadingNumber(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range || (error == std::errc{} && value < 0) ||
        value > LARGEST_WINDOW_ID)
        return NOT_A_WINDOW;
    return error == std::errc{} ? value : 0;
}

} // namespace

bool matchesSwitch(std::string_view argument, char letter) {
    if (!argument.empty() && (argument.front() == '-' || argument.front() == '/'))
        argument.remove_prefix(1);
    return !argument.empty() && upper(argument.front()) == upper(letter);
}

RunMode runModeFor(const std::vector<std::string>& args) {
    if (args.empty() || matchesSwitch(args[0], 'c'))
        return RunMode::Configure;
    if (matchesSwitch(args[0], 'p') || matchesSwitch(args[0], 'l'))
        return RunMode::Preview;
    if (matchesSwitch(args[0], 's'))
        return RunMode::FullScreen;
    if (matchesSwitch(args[0], 'a'))
        return RunMode::ChangePassword;
    return RunMode::Nothing;
}

long long windowHandleFrom(const std::vector<std::string>& args) {
    if (args.empty())
        return 0;
    const std::string& first = args[0];
    if (const auto colon = first.find(':'); colon != std::string::npos)
        return leadingNumber(std::string_view(first).substr(colon + 1));
    return args.size() > 1 ? leadingNumber(args[1]) : 0;
}

} // namespace lumivane
