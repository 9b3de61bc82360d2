// GNOME's idle monitor (org.gnome.Mutter.IdleMonitor on the session bus):
// an idle watch fires once the session has been idle that long, a user-active
// watch on the next input. Applications inhibit idleness through GNOME's
// session manager, which is asked (IsInhibited, the idle flag) before the
// idle time is reported.
#pragma once

#include "app/idle/IdleSource.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QTimer>

#include <optional>

namespace lumivane {

class MutterIdleSource : public IdleSource {
    Q_OBJECT

  public:
    // On the session bus; nothing, with the reason in problem, when no idle
    // monitor is on it.
    static std::unique_ptr<MutterIdleSource> open(QString& problem);

    QString name() const override { return QStringLiteral("org.gnome.Mutter.IdleMonitor"); }
    void watch(std::chrono::milliseconds timeout) override;

  public slots:
    // D-Bus signals; public, as Qt D-Bus delivers only to public slots.
    void takeFiredWatch(uint id);
    void takeInhibitorChange();
    void takeDisconnection();

  private:
    explicit MutterIdleSource(const QDBusConnection& bus);
    // The watch's id from AddIdleWatch or AddUserActiveWatch, or 0 after a
    // failure, which then ends the source.
    uint addWatch(const QString& method, const QVariantList& arguments);
    void removeWatch(uint& id);
    void watchForInput();
    void idleLongEnough();
    bool inhibited();
    void report();
    void fail(const QString& why);

    QDBusConnection bus_;
    QTimer remainder_;
    QElapsedTimer sinceWatch_;
    std::chrono::milliseconds timeout_{0};
    uint idleWatch_ = 0;
    uint activeWatch_ = 0;
    bool reported_ = true;
    bool waitingForInhibitors_ = false;
    bool failed_ = false;
};

} // namespace lumivane
