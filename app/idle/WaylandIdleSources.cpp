#include "app/idle/WaylandIdleSources.h"

#include "app/idle/WaylandConnection.h"
#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lumivane {
namespace {

std::uint32_t milliseconds(std::chrono::milliseconds timeout) {
    return static_cast<std::uint32_t>(std::clamp<std::chrono::milliseconds::rep>(
        timeout.count(), 1, std::numeric_limits<std::uint32_t>::max()));
}

// The compositor creates each notification with its timer started, so a new
// one counts from now or from the next input, whichever is later. "resumed"
// needs no answer: the watcher asks again when it wants the next idle time.
void onExtIdled(void* data, ext_idle_notification_v1*) {
    static_cast<ExtIdleNotifySource*>(data)->reportIdle();
}
void onExtResumed(void*, ext_idle_notification_v1*) {}
const ext_idle_notification_v1_listener EXT_LISTENER{onExtIdled, onExtResumed};

void onKdeIdle(void* data, org_kde_kwin_idle_timeout*) {
    static_cast<KdeIdleSource*>(data)->reportIdle();
}
void onKdeResumed(void*, org_kde_kwin_idle_timeout*) {}
const org_kde_kwin_idle_timeout_listener KDE_LISTENER{onKdeIdle, onKdeResumed};

} // namespace

ExtIdleNotifySource::ExtIdleNotifySource(std::unique_ptr<WaylandConnection> connection)
    : connection_(std::move(connection)) {
    connect(connection_.get(), &WaylandConnection::lost, this, &IdleSource::lost);
}

ExtIdleNotifySource::~ExtIdleNotifySource() {
    if (notification_ != nullptr)
        ext_idle_notification_v1_destroy(notification_);
}

void ExtIdleNotifySource::watch(std::chrono::milliseconds timeout) {
    if (notification_ != nullptr)
        ext_idle_notification_v1_destroy(notification_);
    reported_ = false;
    notification_ = ext_idle_notifier_v1_get_idle_notification(
        connection_->extIdleNotifier(), milliseconds(timeout), connection_->seat());
    ext_idle_notification_v1_add_listener(notification_, &EXT_LISTENER, this);
    connection_->flush();
}

void ExtIdleNotifySource::reportIdle() {
    if (reported_)
        return;
    reported_ = true;
    emit idle();
}

KdeIdleSource::KdeIdleSource(std::unique_ptr<WaylandConnection> connection)
    : connection_(std::move(connection)) {
    connect(connection_.get(), &WaylandConnection::lost, this, &IdleSource::lost);
}

KdeIdleSource::~KdeIdleSource() {
    if (timeout_ != nullptr)
        org_kde_kwin_idle_timeout_release(timeout_);
}

void KdeIdleSource::watch(std::chrono::milliseconds timeout) {
    if (timeout_ != nullptr)
        org_kde_kwin_idle_timeout_release(timeout_);
    reported_ = false;
    timeout_ = org_kde_kwin_idle_get_idle_timeout(connection_->kdeIdle(), connection_->seat(),
                                                  milliseconds(timeout));
    org_kde_kwin_idle_timeout_add_listener(timeout_, &KDE_LISTENER, this);
    connection_->flush();
}

void KdeIdleSource::reportIdle() {
    if (reported_)
        return;
    reported_ = true;
    emit idle();
}

std::unique_ptr<IdleSource> openWaylandIdleSource(QString& problem) {
    std::unique_ptr<WaylandConnection> connection = WaylandConnection::open(problem);
    if (!connection)
        return nullptr;
    if (connection->extIdleNotifier() != nullptr)
        return std::make_unique<ExtIdleNotifySource>(std::move(connection));
    if (connection->kdeIdle() != nullptr)
        return std::make_unique<KdeIdleSource>(std::move(connection));
    problem = QStringLiteral("the Wayland compositor offers neither ext-idle-notify-v1 nor "
                             "org_kde_kwin_idle");
    return nullptr;
}

} // namespace lumivane
