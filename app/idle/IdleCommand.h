// "--idle TIME": the idle watcher, a small process for the desktop session
// that starts the full-screen saver ("/s") after TIME without input.
#pragma once

#include <iosfwd>
#include <string>

namespace lumivane {

// Tests put a stand-in saver here: the program run, with "/s", instead of
// this one.
inline constexpr const char* SAVER_PROGRAM_VARIABLE = "LUMIVANE_IDLE_SAVER";

// Runs the watcher with the idle time written in timeText until it ends, and
// returns its exit status (app/ExitStatus.h): EXIT_DONE when SIGTERM, SIGINT
// or SIGHUP ended it (after the saver it started), EXIT_FAILED without an idle
// source, EXIT_USAGE for a bad time, EXIT_CONNECTION_LOST when its source went
// away. Lines about it go to out, faults to err.
int runIdleWatcher(const std::string& programName, const std::string& timeText, std::ostream& out,
                   std::ostream& err);

} // namespace lumivane
