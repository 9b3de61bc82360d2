// The program's own command-line options, written with a leading "--". They are
// tools: they need no display, write no settings and do not look for a running
// saver. New options are added to the table in CommandLine.cpp.
#pragma once

#include "app/ExitStatus.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

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

// What a run of the saver may be told on its command line for that run only,
// overriding the stored choices without writing anything: the full-screen mode
// ("--mode current|random|generate|cycle"), the pattern to start with
// ("--pattern NAME", which implies "--mode current" unless a mode is given),
// hard edges ("--no-antialias") and no name overlay ("--no-name").
struct DisplayOverrides {
    std::optional<int> fullScreenMode;
    std::optional<std::string> patternName; // UTF-8, as typed
    bool noAntiAlias = false;
    bool noName = false;
};

// A screen-saver daemon's way of running a hack: "--root" (or "-root") draws
// into the window named by $XSCREENSAVER_WINDOW (else the root window),
// "--window-id ID" (or "-window-id ID"; hexadecimal "0x..." or decimal) into
// window ID and wins over --root. Both run the preview mode, with the display
// overrides above.
struct HackCall {
    bool root = false;
    std::optional<long long> windowId;
    DisplayOverrides overrides;
    // Why the arguments, which name a hack call, cannot be followed; empty
    // when they can.
    std::string problem;
};

// The hack call that args make, or nothing when they hold no --root, -root,
// --window-id or -window-id word (and are something else).
std::optional<HackCall> hackCallFrom(const std::vector<std::string>& args);

// The display overrides among args (the words after "/s"); a word that is
// not one, or a value that does not fit, is reported in problem.
DisplayOverrides displayOverridesFrom(const std::vector<std::string>& args, std::string& problem);

// The preview switch arguments that run a hack call: "/p ID" or just "/p".
std::vector<std::string> previewArgsFor(const HackCall& call);

} // namespace lumivane
