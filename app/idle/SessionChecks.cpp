#include "app/idle/SessionChecks.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

#include <xcb/dpms.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace lumivane {
namespace {

const QString LOGIN_SERVICE = QStringLiteral("org.freedesktop.login1");
const QString LOGIN_MANAGER_PATH = QStringLiteral("/org/freedesktop/login1");
const QString LOGIN_MANAGER = QStringLiteral("org.freedesktop.login1.Manager");
const QString LOGIN_SESSION = QStringLiteral("org.freedesktop.login1.Session");
// The caller's session, or else the user's graphical session.
const QString AUTO_SESSION_PATH = QStringLiteral("/org/freedesktop/login1/session/auto");
constexpr int CALL_TIMEOUT_MS = 2000;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

bool extensionPresent(xcb_connection_t* connection, xcb_extension_t* extension) {
    const xcb_query_extension_reply_t* data = xcb_get_extension_data(connection, extension);
    return data != nullptr && data->present != 0;
}

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, std::strlen(name), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

bool hasProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_ANY, 0, 0),
        nullptr));
    return reply && reply->type != XCB_ATOM_NONE;
}

} // namespace

SessionChecks::SessionChecks() : systemBus_(QDBusConnection::systemBus()) {
    findLoginSession();
    x11Session_ =
        !qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        connectX();
}

SessionChecks::~SessionChecks() {
    if (x_ != nullptr)
        xcb_disconnect(x_);
}

QStringList SessionChecks::names() const {
    QStringList names;
    if (!loginSession_.isEmpty())
        names << QStringLiteral("session lock (login1)");
    if (hasDpms_)
        names << QStringLiteral("display power (DPMS)");
    if (hasServerSaver_)
        names << QStringLiteral("X server blanking");
    if (x_ != nullptr)
        names << QStringLiteral("XScreenSaver daemon");
    return names;
}

QString SessionChecks::reasonToWait() {
    bool answered = false;
    if (sessionLocked(answered))
        return QStringLiteral("the session is locked");
    if (displayPoweredDown())
        return QStringLiteral("the display is powered down or blanked");
    if (saverDaemonRunning())
        return QStringLiteral("an XScreenSaver daemon runs on this display");
    return {};
}

void SessionChecks::findLoginSession() {
    if (!systemBus_.isConnected())
        return;
    QString path = AUTO_SESSION_PATH;
    const QString id = qEnvironmentVariable("XDG_SESSION_ID");
    if (!id.isEmpty()) {
        QDBusMessage call = QDBusMessage::createMethodCall(LOGIN_SERVICE, LOGIN_MANAGER_PATH,
                                                           LOGIN_MANAGER, "GetSession");
        call.setArguments({id});
        const QDBusReply<QDBusObjectPath> reply =
            systemBus_.call(call, QDBus::Block, CALL_TIMEOUT_MS);
        if (reply.isValid())
            path = reply.value().path();
    }
    loginSession_ = path;
    bool answered = false;
    sessionLocked(answered);
    if (!answered)
        loginSession_.clear();
}

bool SessionChecks::sessionLocked(bool& answered) {
    answered = false;
    if (loginSession_.isEmpty())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        LOGIN_SERVICE, loginSession_, QStringLiteral("org.freedesktop.DBus.Properties"), "Get");
    call.setArguments({LOGIN_SESSION, QStringLiteral("LockedHint")});
    const QDBusReply<QDBusVariant> reply = systemBus_.call(call, QDBus::Block, CALL_TIMEOUT_MS);
    answered = reply.isValid();
    return answered && reply.value().variant().toBool();
}

bool SessionChecks::connectX() {
    if (x_ != nullptr && xcb_connection_has_error(x_) == 0)
        return true;
    if (x_ != nullptr)
        xcb_disconnect(x_);
    int screenNumber = 0;
    x_ = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(x_) != 0) {
        xcb_disconnect(x_);
        x_ = nullptr;
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x_));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    root_ = screens.data->root;
    hasServerSaver_ = x11Session_ && extensionPresent(x_, &xcb_screensaver_id);
    hasDpms_ = false;
    if (x11Session_ && extensionPresent(x_, &xcb_dpms_id)) {
        const Reply<xcb_dpms_capable_reply_t> capable(
            xcb_dpms_capable_reply(x_, xcb_dpms_capable(x_), nullptr));
        hasDpms_ = capable && capable->capable != 0;
    }
    return true;
}

// A monitor in standby, suspend or off, or the server's own blanking, which
// input ends: the saver would run unseen.
bool SessionChecks::displayPoweredDown() {
    if (!x11Session_ || !connectX())
        return false;
    if (hasDpms_) {
        const Reply<xcb_dpms_info_reply_t> info(
            xcb_dpms_info_reply(x_, xcb_dpms_info(x_), nullptr));
        if (info && info->state != 0 && info->power_level != XCB_DPMS_DPMS_MODE_ON)
            return true;
    }
    if (hasServerSaver_) {
        const Reply<xcb_screensaver_query_info_reply_t> info(
            xcb_screensaver_query_info_reply(x_, xcb_screensaver_query_info(x_, root_), nullptr));
        if (info && info->state == XCB_SCREENSAVER_STATE_ON)
            return true;
    }
    return false;
}

// The daemon marks the root window with _SCREENSAVER_STATUS and its own
// window, a child of the root, with _SCREENSAVER_VERSION. The window goes
// with the daemon, so a status a crashed daemon left behind does not count.
bool SessionChecks::saverDaemonRunning() {
    if (!connectX())
        return false;
    const xcb_atom_t status = atomNamed(x_, "_SCREENSAVER_STATUS");
    const xcb_atom_t version = atomNamed(x_, "_SCREENSAVER_VERSION");
    if (status == XCB_ATOM_NONE || version == XCB_ATOM_NONE || !hasProperty(x_, root_, status))
        return false;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x_, xcb_query_tree(x_, root_), nullptr));
    if (!tree)
        return false;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    // All questions first, then the answers: one round trip in all.
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        cookies.push_back(xcb_get_property(x_, 0, children[i], version, XCB_ATOM_ANY, 0, 0));
    bool found = false;
    for (const xcb_get_property_cookie_t cookie : cookies) {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(x_, cookie, nullptr));
        found = found || (reply && reply->type != XCB_ATOM_NONE);
    }
    return found;
}

} // namespace lumivane
