// "--idle-autostart on|off": the idle watcher's autostart entry for this user.
// "on" copies the shipped entry (lumivane/lumivane-idle.desktop in the data
// folders) into $XDG_CONFIG_HOME/autostart (else ~/.config/autostart), "off"
// removes that copy. Both may be repeated; the copy is written under a
// temporary name and renamed, so a session never reads half an entry.
#pragma once

#include <iosfwd>
#include <string>

namespace lumivane {

inline constexpr const char* AUTOSTART_ENTRY_NAME = "lumivane-idle.desktop";

// Returns the exit status: 0 done, 1 failed (with a line on err), 2 a value
// other than on and off.
int runIdleAutostart(const std::string& programName, const std::string& value, std::ostream& out,
                     std::ostream& err);

} // namespace lumivane
