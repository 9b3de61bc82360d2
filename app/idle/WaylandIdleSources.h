// The two Wayland idle protocols, each over a connection of its own:
// ext-idle-notify-v1 (wlroots compositors since sway 1.8, KWin 6, Hyprland,
// niri, labwc) and KDE's older org_kde_kwin_idle (sway 1.7, KWin 5). The
// compositor counts the idle time and honours idle inhibitors itself.
#pragma once

#include "app/idle/IdleSource.h"

#include <memory>

struct ext_idle_notification_v1;
struct org_kde_kwin_idle_timeout;

namespace lumivane {

class WaylandConnection;

class ExtIdleNotifySource : public IdleSource {
    Q_OBJECT

  public:
    explicit ExtIdleNotifySource(std::unique_ptr<WaylandConnection> connection);
    ~ExtIdleNotifySource() override;

    QString name() const override { return QStringLiteral("ext-idle-notify-v1"); }
    void watch(std::chrono::milliseconds timeout) override;

    // Called by the notification's listener.
    void reportIdle();

  private:
    std::unique_ptr<WaylandConnection> connection_;
    ext_idle_notification_v1* notification_ = nullptr;
    bool reported_ = false;
};

class KdeIdleSource : public IdleSource {
    Q_OBJECT

  public:
    explicit KdeIdleSource(std::unique_ptr<WaylandConnection> connection);
    ~KdeIdleSource() override;

    QString name() const override { return QStringLiteral("org_kde_kwin_idle"); }
    void watch(std::chrono::milliseconds timeout) override;

    // Called by the timeout's listener.
    void reportIdle();

  private:
    std::unique_ptr<WaylandConnection> connection_;
    org_kde_kwin_idle_timeout* timeout_ = nullptr;
    bool reported_ = false;
};

// The first of the two protocols the compositor at $WAYLAND_DISPLAY offers.
std::unique_ptr<IdleSource> openWaylandIdleSource(QString& problem);

} // namespace lumivane
