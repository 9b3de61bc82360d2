#include "view/HostWindow.h"

#include <xcb/xcb.h>

#include <charconv>
#include <cstdlib>

namespace lumivane {

namespace {
constexpr long long LARGEST_WINDOW_ID = 0xFFFFFFFFLL;
} // namespace

HostWindow::HostWindow(xcb_connection_t* connection, std::uint32_t id)
    : connection_(connection), id_(id) {}

HostWindow::~HostWindow() {
    xcb_disconnect(connection_);
}

xcb_connection_t* HostWindow::connect() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return connection;
}

// Window attributes exist only for windows, so a pixmap's id does not pass.
bool HostWindow::isWindow(xcb_connection_t* connection, std::uint32_t id) {
    xcb_generic_error_t* error = nullptr;
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, id), &error);
    const bool exists = reply != nullptr && error == nullptr;
    std::free(reply);
    std::free(error);
    return exists;
}

std::optional<bool> HostWindow::isViewable(std::uint32_t id) const {
    if (xcb_connection_has_error(connection_) != 0) {
        return std::nullopt;
    }
    xcb_generic_error_t* error = nullptr;
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, id), &error);
    std::optional<bool> viewable;
    if (reply != nullptr && error == nullptr) {
        viewable = reply->map_state == XCB_MAP_STATE_VIEWABLE;
    }
    std::free(reply);
    std::free(error);
    return viewable;
}

std::unique_ptr<HostWindow> HostWindow::open(long long id) {
    if (id <= 0 || id > LARGEST_WINDOW_ID) {
        return nullptr;
    }
    xcb_connection_t* connection = connect();
    if (connection == nullptr) {
        return nullptr;
    }
    const auto window = static_cast<std::uint32_t>(id);
    if (!isWindow(connection, window)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<HostWindow>(new HostWindow(connection, window));
}

std::unique_ptr<HostWindow> HostWindow::openRoot() {
    xcb_connection_t* connection = connect();
    if (connection == nullptr) {
        return nullptr;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<HostWindow>(new HostWindow(connection, screen->root));
}

std::optional<QSize> HostWindow::size() const {
    if (xcb_connection_has_error(connection_) != 0) {
        return std::nullopt;
    }
    xcb_generic_error_t* error = nullptr;
    xcb_get_geometry_reply_t* reply =
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, id_), &error);
    std::optional<QSize> size;
    if (reply != nullptr && error == nullptr) {
        size = QSize(reply->width, reply->height);
    }
    std::free(reply);
    std::free(error);
    return size;
}

std::optional<long long> parseWindowId(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, status] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || status != std::errc() || rest != end || value <= 0 ||
        value > LARGEST_WINDOW_ID) {
        return std::nullopt;
    }
    return value;
}

} // namespace lumivane
