// What keeps the watcher from starting the saver although the session is
// idle, as far as the session lets it look: a session the login manager
// reports locked (LockedHint of org.freedesktop.login1, on the system bus), a
// display powered down or blanked by the X server (DPMS and the server's own
// saver, X11 sessions only), and an XScreenSaver daemon already running on the
// X display, which starts savers itself.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>

struct xcb_connection_t;

namespace lumivane {

class SessionChecks {
  public:
    // Opens what the session offers; a check without its service is left out.
    SessionChecks();
    ~SessionChecks();
    SessionChecks(const SessionChecks&) = delete;
    SessionChecks& operator=(const SessionChecks&) = delete;

    // The checks made, for the start-up line.
    QStringList names() const;

    // Why the saver must not start now; empty when it may.
    QString reasonToWait();

  private:
    void findLoginSession();
    bool sessionLocked(bool& answered);
    bool connectX();
    bool displayPoweredDown();
    bool saverDaemonRunning();

    QDBusConnection systemBus_;
    QString loginSession_; // object path, empty without the login manager
    xcb_connection_t* x_ = nullptr;
    std::uint32_t root_ = 0;
    bool x11Session_ = false;
    bool hasDpms_ = false;
    bool hasServerSaver_ = false;
};

} // namespace lumivane
