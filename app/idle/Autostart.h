// "--idle-autostart on|off": the idle watcher's autostart entry for this user.
// "on" copies the shipped entry (lumivane/lumivane-idle.desktop in the data
// folders) into $XDG_CONFIG_HOME/autostart (else ~/.config/autostart), "off"
// removes that copy. Both may be repeated; the copy replaces the file whole
// (replaceFile), so a session never reads half an entry.
#pragma once

#include <iosfwd>
#include <string>

namespace lumivane {

inline constexpr const char* AUTOSTART_ENTRY_NAME = "lumivane-idle.desktop";

// Returns the exit status (app/ExitStatus.h): EXIT_DONE, EXIT_FAILED (with a
// line on err) or EXIT_USAGE for a value other than on and off.
int runIdleAutostart(const std::string& programName, const std::string& value, std::ostream& out,
                     std::ostream& err);

} // namespace lumivane
