// Where the idle watcher learns that nobody has used the keyboard or the
// pointer for a while. Each source asks the session in its own way (a Wayland
// protocol of the compositor, GNOME's idle monitor on the session bus, the X
// server's idle counter); the watcher sees only this interface.
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

namespace lumivane {

class IdleSource : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // The protocol or service asked, for messages ("org_kde_kwin_idle").
    virtual QString name() const = 0;

    // Starts the watch again: idle() follows once there has been no input for
    // timeout, counted from the later of the last input and this call; after
    // that nothing, until watch() is called again. A source whose session
    // knows idle inhibitors (a video playing, a presentation) reports no idle
    // time while one is active.
    virtual void watch(std::chrono::milliseconds timeout) = 0;

  signals:
    void idle();
    // The connection the source listens on is gone for good.
    void lost(const QString& why);
};

// The first source the session offers, in this order: Wayland's
// ext-idle-notify-v1, Wayland's org_kde_kwin_idle, GNOME's
// org.gnome.Mutter.IdleMonitor, the X server's MIT-SCREEN-SAVER extension.
// Without one, nothing, and problem says what was tried.
std::unique_ptr<IdleSource> openIdleSource(QString& problem);

} // namespace lumivane
