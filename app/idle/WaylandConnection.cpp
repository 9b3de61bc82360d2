#include "app/idle/WaylandConnection.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

#include <QSocketNotifier>

#include <wayland-client.h>

#include <cerrno>
#include <cstring>

namespace lumivane {
namespace {

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version) {
    static_cast<WaylandConnection*>(data)->announce(registry, name, interface, version);
}

// A seat or protocol that goes away later is noticed when a request on it fails.
void onGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener REGISTRY_LISTENER{onGlobal, onGlobalRemove};

} // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::open(QString& problem) {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        problem = QStringLiteral("no Wayland compositor answers at $WAYLAND_DISPLAY (%1)")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    connection->registry_ = wl_display_get_registry(display);
    wl_registry_add_listener(connection->registry_, &REGISTRY_LISTENER, connection.get());
    if (wl_display_roundtrip(display) < 0) {
        problem = QStringLiteral("the Wayland compositor closed the connection");
        return nullptr;
    }
    if (connection->seat_ == nullptr) {
        problem = QStringLiteral("the Wayland compositor offers no seat");
        return nullptr;
    }
    connection->notifier_ =
        new QSocketNotifier(wl_display_get_fd(display), QSocketNotifier::Read, connection.get());
    connect(connection->notifier_, &QSocketNotifier::activated, connection.get(),
            &WaylandConnection::readEvents);
    return connection;
}

WaylandConnection::WaylandConnection(wl_display* display) : display_(display) {}

WaylandConnection::~WaylandConnection() {
    if (extIdleNotifier_ != nullptr)
        ext_idle_notifier_v1_destroy(extIdleNotifier_);
    if (kdeIdle_ != nullptr)
        org_kde_kwin_idle_destroy(kdeIdle_);
    if (seat_ != nullptr)
        wl_seat_destroy(seat_);
    if (registry_ != nullptr)
        wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
}

void WaylandConnection::announce(wl_registry* registry, uint32_t name, const char* interface,
                                 uint32_t) {
    // Version 1 of each is all the watcher uses.
    if (seat_ == nullptr && std::strcmp(interface, wl_seat_interface.name) == 0) {
        seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (extIdleNotifier_ == nullptr &&
               std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0) {
        extIdleNotifier_ = static_cast<ext_idle_notifier_v1*>(
            wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    } else if (kdeIdle_ == nullptr &&
               std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0) {
        kdeIdle_ = static_cast<org_kde_kwin_idle*>(
            wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
    }
}

void WaylandConnection::flush() {
    // A full socket buffer (EAGAIN) is sent with the next flush; anything else
    // shows again when the events are read.
    if (!failed_ && wl_display_flush(display_) < 0 && errno != EAGAIN)
        fail(QStringLiteral("cannot write to the Wayland compositor"));
}

// The socket is readable, so reading does not block; events queued by
// another read are handled first.
void WaylandConnection::readEvents() {
    if (failed_)
        return;
    if (wl_display_dispatch(display_) < 0) {
        fail(QStringLiteral("lost the connection to the Wayland compositor"));
        return;
    }
    flush();
}

void WaylandConnection::fail(const QString& what) {
    failed_ = true;
    notifier_->setEnabled(false);
    const int protocolError = wl_display_get_error(display_);
    QString why = what;
    if (protocolError == EPROTO)
        why += QStringLiteral(" (protocol error)");
    else if (protocolError != 0)
        why += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(protocolError)));
    emit lost(why);
}

} // namespace lumivane
