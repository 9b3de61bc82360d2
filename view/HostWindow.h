// A window of another program on the X server that a preview draws into. Qt
// reports a foreign window's size as 0x0 and does not notice its destruction,
// so the host is watched through a connection of our own to the X server.
#pragma once

#include <QSize>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

struct xcb_connection_t;

namespace lumivane {

class HostWindow {
  public:
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // The window with this id on the X server of $DISPLAY, or nullptr when
    // there is no server or no such window (ids outside 1..2^32-1 included).
    static std::unique_ptr<HostWindow> open(long long id);
    // The root window of the default screen, or nullptr without an X server.
    static std::unique_ptr<HostWindow> openRoot();

    std::uint32_t id() const { return id_; }
    // The host's inner size in device pixels, or nothing once it is gone.
    std::optional<QSize> size() const;
    // Whether the window with this id (the preview's own, say) can be seen:
    // it and every window it lies in are mapped. Nothing once it is gone.
    std::optional<bool> isViewable(std::uint32_t id) const;

  private:
    HostWindow(xcb_connection_t* connection, std::uint32_t id);
    static xcb_connection_t* connect();
    static bool isWindow(xcb_connection_t* connection, std::uint32_t id);

    xcb_connection_t* connection_;
    std::uint32_t id_;
};

// A window id as X tools write it: hexadecimal with "0x", else decimal.
// Nothing for text that is not a whole number in 1..2^32-1.
std::optional<long long> parseWindowId(std::string_view text);

} // namespace lumivane
