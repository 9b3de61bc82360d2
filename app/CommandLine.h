// The program's own command-line options, written with a leading "--". They are
// tools: they need no display, write no settings and do not look for a running
// saver. New options are added to the table in CommandLine.cpp.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

inline constexpr int EXIT_TOOL_OK = 0;
inline constexpr int EXIT_TOOL_FAILED = 1;
inline constexpr int EXIT_USAGE = 2;

// True for arguments that begin with "--" (no switch letter is '-').
bool isLongOption(std::string_view argument);

// Runs the long option in args[0] (args are the arguments after the program
// name) and returns the process's exit status. programName is used in the
// usage text and in error lines.
int runLongOption(const std::string& programName, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err);

// Writes "index<TAB>name" for each pattern stored in the data or bank file at
// path, or the matching refusal text on err. Returns the exit status.
int listPatterns(const std::string& path, std::ostream& out, std::ostream& err);

// A screen-saver daemon's way of running a hack: "--root" draws into the
// window named by $XSCREENSAVER_WINDOW (else the root window), "--window-id ID"
// (hexadecimal "0x..." or decimal) into window ID and wins over --root. Both
// run the preview mode.
struct HackCall {
    bool root = false;
    std::optional<long long> windowId;
};

// The hack call that args consist of, or nothing when args hold anything else
// (or an unreadable window id, which runLongOption then reports).
std::optional<HackCall> hackCallFrom(const std::vector<std::string>& args);

// The preview switch arguments that run a hack call: "/p ID" or just "/p".
std::vector<std::string> previewArgsFor(const HackCall& call);

} // namespace lumivane
