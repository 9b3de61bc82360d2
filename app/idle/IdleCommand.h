// "--idle TIME": the idle watcher, a small process for the desktop session
// that starts the full-screen saver ("/s") after TIME without input.
#pragma once

#include <iosfwd>
#include <string>

namespace lumivane {

// Exit statuses of the watcher. It runs until SIGTERM, SIGINT or SIGHUP ends
// it (status 0, after ending a saver it started).
inline constexpr int EXIT_IDLE_ENDED = 0;
inline constexpr int EXIT_IDLE_NO_SOURCE = 1;
inline constexpr int EXIT_IDLE_USAGE = 2;
inline constexpr int EXIT_IDLE_LOST = 3;

// Tests put a stand-in saver here: the program run, with "/s", instead of
// this one.
inline constexpr const char* SAVER_PROGRAM_VARIABLE = "LUMIVANE_IDLE_SAVER";

// Runs the watcher with the idle time written in timeText until it ends, and
// returns its exit status. Lines about it go to out, faults to err.
int runIdleWatcher(const std::string& programName, const std::string& timeText, std::ostream& out,
                   std::ostream& err);

} // namespace lumivane
