#include "app/DisplayChoice.h"

#include <QLibraryInfo>
#include <QString>

#include <wayland-client.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace lumivane {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool x11Opens() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}

bool waylandOpens() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr)
        return false;
    wl_display_disconnect(display);
    return true;
}

// Qt looks for platform plugins in "platforms" under its plugin folder and
// under each folder of $QT_PLUGIN_PATH.
bool waylandPluginInstalled() {
    std::vector<std::string> folders{QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString()};
    const std::string extra = environment("QT_PLUGIN_PATH");
    for (std::size_t start = 0; start <= extra.size();) {
        const std::size_t end = std::min(extra.find(':', start), extra.size());
        if (end > start)
            folders.push_back(extra.substr(start, end - start));
        start = end + 1;
    }
    for (const std::string& folder : folders) {
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(folder + "/platforms", error)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("libqwayland-") && name.ends_with(".so"))
                return true;
        }
    }
    return false;
}

bool isWaylandPlatform(std::string_view name) {
    return name.starts_with("wayland");
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// "cannot open display ":97"", naming the displays that were wanted.
std::string cannotOpen(const DisplaySituation& situation, bool x11, bool wayland) {
    std::vector<std::string> parts;
    if (x11)
        parts.push_back(situation.display.empty() ? "an X display (DISPLAY is not set)"
                                                  : "display " + quoted(situation.display));
    if (wayland) {
        if (situation.waylandDisplay.empty())
            parts.push_back("a Wayland display (WAYLAND_DISPLAY is not set)");
        else if (situation.waylandOpens && !situation.waylandPlugin)
            parts.push_back("Wayland display " + quoted(situation.waylandDisplay) +
                            " without Qt's Wayland plugin (package qt6-wayland)");
        else
            parts.push_back("Wayland display " + quoted(situation.waylandDisplay));
    }
    if (parts.empty())
        return "cannot open a display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    std::string text = "cannot open " + parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i)
        text += " or " + parts[i];
    return text;
}

// The platform names of a QT_QPA_PLATFORM list, "wayland;xcb", each perhaps
// with options after a colon.
std::vector<std::string> platformNames(const std::string& list) {
    std::vector<std::string> names;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        const std::string entry = list.substr(start, end - start);
        names.push_back(entry.substr(0, entry.find(':')));
        start = end + 1;
    }
    return names;
}

bool namesDisplayPlatform(const std::string& list) {
    for (const std::string& name : platformNames(list))
        if (name == "xcb" || isWaylandPlatform(name))
            return true;
    return false;
}

// Qt takes the first platform of the user's list that starts.
DisplayChoice followUsersChoice(const DisplaySituation& situation) {
    bool wantsX11 = false;
    bool wantsWayland = false;
    for (const std::string& name : platformNames(situation.qtPlatform)) {
        if (name == "xcb") {
            wantsX11 = true;
            if (situation.x11Opens)
                return {};
        } else if (isWaylandPlatform(name)) {
            wantsWayland = true;
            if (situation.waylandOpens && situation.waylandPlugin)
                return {};
        } else if (!name.empty()) {
            return {}; // offscreen, vnc and the like need no display of ours
        }
    }
    return {"", cannotOpen(situation, wantsX11, wantsWayland)};
}

} // namespace

DisplaySituation currentDisplaySituation() {
    DisplaySituation situation;
    situation.qtPlatform = environment("QT_QPA_PLATFORM");
    situation.display = environment("DISPLAY");
    situation.waylandDisplay = environment("WAYLAND_DISPLAY");
    situation.sessionType = environment("XDG_SESSION_TYPE");
    situation.x11Opens = !situation.display.empty() && x11Opens();
    situation.waylandOpens = !situation.waylandDisplay.empty() && waylandOpens();
    situation.waylandPlugin = waylandPluginInstalled();
    return situation;
}

DisplayChoice chooseDisplay(const DisplaySituation& situation, std::string_view x11HostFor) {
    const bool waylandWorks = situation.waylandOpens && situation.waylandPlugin;
    if (!x11HostFor.empty()) {
        // Only an X11 connection can put a window inside another program's
        // X11 window, whatever else the user prefers.
        if (!situation.qtPlatform.empty() && !namesDisplayPlatform(situation.qtPlatform))
            return {}; // offscreen and the like, as the user wants
        if (situation.x11Opens)
            return {"xcb", ""};
        if (situation.waylandOpens)
            return {"", std::string(x11HostFor) +
                            " needs an X11 host window, and this Wayland session has no X display"};
        return {"", cannotOpen(situation, true, false)};
    }
    if (!situation.qtPlatform.empty())
        return followUsersChoice(situation);
    // Sessions started from a console say "tty" and still run a compositor.
    const bool waylandSession = !situation.waylandDisplay.empty() && situation.sessionType != "x11";
    if (waylandSession && waylandWorks)
        return {"wayland", ""};
    if (situation.x11Opens)
        return {"xcb", ""};
    if (waylandWorks)
        return {"wayland", ""};
    return {"",
            cannotOpen(situation, !situation.display.empty(), !situation.waylandDisplay.empty())};
}

} // namespace lumivane
