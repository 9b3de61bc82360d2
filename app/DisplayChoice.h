// Which display the windows go to. Qt aborts the process when the display it
// picks cannot be opened, or when it picks Wayland and its Wayland plugin is
// not installed; the program opens the displays itself first, chooses one that
// works (Wayland in a Wayland session when the plugin is there, else X11,
// XWayland included) and otherwise says in one line why there is none.
#pragma once

#include <string>
#include <string_view>

namespace lumivane {

// What the choice looks at: the environment and what was found when trying.
struct DisplaySituation {
    std::string qtPlatform;     // $QT_QPA_PLATFORM, the user's own choice of Qt platform
    std::string display;        // $DISPLAY
    std::string waylandDisplay; // $WAYLAND_DISPLAY
    std::string sessionType;    // $XDG_SESSION_TYPE
    bool x11Opens = false;      // a connection to the X server of $DISPLAY was made
    bool waylandOpens = false;  // a connection to the compositor of $WAYLAND_DISPLAY was made
    bool waylandPlugin = false; // Qt's Wayland platform plugin is installed
};

// The situation of this process, found by opening (and closing again) a
// connection to each display named in its environment.
DisplaySituation currentDisplaySituation();

struct DisplayChoice {
    std::string platform; // the Qt platform to start; empty: Qt's own (QT_QPA_PLATFORM)
    std::string problem;  // why no display can be used; empty when one can
};

// The display for a run mode. x11HostFor names the mode ("/p", "--root",
// "--window-id") when the mode draws into a window of an X11 host, which only
// an X11 connection can do; it is empty for the others.
DisplayChoice chooseDisplay(const DisplaySituation& situation, std::string_view x11HostFor);

} // namespace lumivane
