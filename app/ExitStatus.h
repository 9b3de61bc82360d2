// The program's exit statuses, the same in every run mode and tool (the
// README's table tells which cases each one counts where). A run mode ended by
// SIGTERM, SIGINT or SIGHUP ends by that signal instead (view/QuitOnSignal.h).
#pragma once

namespace lumivane {

// Done, or nothing to do.
inline constexpr int EXIT_DONE = 0;
// What the run needed could not be had: a file refused or unreadable, no
// display, no host window, no idle source.
inline constexpr int EXIT_FAILED = 1;
// What was asked cannot be done as asked: bad arguments, an unknown pattern,
// an output that could not be written.
inline constexpr int EXIT_USAGE = 2;
// The idle watcher lost its compositor, bus or X server.
inline constexpr int EXIT_CONNECTION_LOST = 3;

} // namespace lumivane
