// "--add-to-xscreensaver": puts Lumivane into the list of display modes that
// XScreenSaver offers. XScreenSaver runs and lists only the hacks named in its
// "programs" resource: the one in the user's ~/.xscreensaver, else the one in
// its system defaults. The tool adds "lumivane --root" to the user's list,
// making ~/.xscreensaver from the system defaults' list when the file is
// missing or has no list of its own. Every other line stays as it was, the file
// is replaced whole or not at all, and a list that already runs lumivane (also
// switched off, with a leading "-") is left alone.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

inline constexpr const char* XSCREENSAVER_DEFAULTS = "/etc/X11/app-defaults/XScreenSaver";

// $HOME/.xscreensaver (the password database's home when HOME is not set).
std::string userXScreenSaverFile();

// Whether the "programs" resource of a ~/.xscreensaver text has an entry
// running lumivane, and whether that entry is switched on.
enum class ListedAs { Missing, On, Off };
ListedAs lumivaneListed(std::string_view userText);

// The ~/.xscreensaver text with Lumivane added at the end of its "programs"
// resource. Without such a resource, the one of the system defaults
// (defaultsText, the app-defaults file with "*programs:") is appended with
// Lumivane added, or nothing when the defaults have none. The text must not
// list Lumivane yet.
std::optional<std::string> withLumivaneAdded(std::string_view userText,
                                             std::string_view defaultsText);

// The tool: adds Lumivane to the list in userFile, made from defaultsFile when
// needed. Returns EXIT_DONE when added or listed already, EXIT_FAILED when a
// file could not be read (the defaults included), EXIT_USAGE when userFile
// could not be written or is read-only.
int addToXScreenSaver(const std::string& userFile, const std::string& defaultsFile,
                      std::ostream& out, std::ostream& err);

} // namespace lumivane
