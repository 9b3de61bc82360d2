#include "app/idle/MutterIdleSource.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>

namespace lumivane {
namespace {

const QString MONITOR_SERVICE = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString MONITOR_PATH = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString MONITOR_INTERFACE = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString SESSION_SERVICE = QStringLiteral("org.gnome.SessionManager");
const QString SESSION_PATH = QStringLiteral("/org/gnome/SessionManager");
const QString SESSION_INTERFACE = QStringLiteral("org.gnome.SessionManager");
// GNOME's inhibitor flag for "the session may not be marked idle".
constexpr uint INHIBIT_IDLE = 8;
constexpr int CALL_TIMEOUT_MS = 5000;

} // namespace

std::unique_ptr<MutterIdleSource> MutterIdleSource::open(QString& problem) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        problem = QStringLiteral("no session bus");
        return nullptr;
    }
    if (!bus.interface()->isServiceRegistered(MONITOR_SERVICE)) {
        problem = QStringLiteral("no %1 on the session bus").arg(MONITOR_SERVICE);
        return nullptr;
    }
    return std::unique_ptr<MutterIdleSource>(new MutterIdleSource(bus));
}

MutterIdleSource::MutterIdleSource(const QDBusConnection& bus) : bus_(bus) {
    bus_.connect(MONITOR_SERVICE, MONITOR_PATH, MONITOR_INTERFACE, QStringLiteral("WatchFired"),
                 this, SLOT(takeFiredWatch(uint)));
    bus_.connect(SESSION_SERVICE, SESSION_PATH, SESSION_INTERFACE,
                 QStringLiteral("InhibitorRemoved"), this, SLOT(takeInhibitorChange()));
    bus_.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                 QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
                 SLOT(takeDisconnection()));
    auto* departure = new QDBusServiceWatcher(MONITOR_SERVICE, bus_,
                                              QDBusServiceWatcher::WatchForUnregistration, this);
    // Qt reports every name gone when the bus itself goes.
    connect(departure, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        fail(bus_.isConnected() ? QStringLiteral("GNOME's idle monitor has left the session bus")
                                : QStringLiteral("lost the connection to the session bus"));
    });
    remainder_.setSingleShot(true);
    remainder_.setTimerType(Qt::PreciseTimer);
    connect(&remainder_, &QTimer::timeout, this, &MutterIdleSource::idleLongEnough);
}

void MutterIdleSource::watch(std::chrono::milliseconds timeout) {
    if (failed_)
        return;
    timeout_ = timeout;
    reported_ = false;
    waitingForInhibitors_ = false;
    remainder_.stop();
    sinceWatch_.start();
    removeWatch(activeWatch_);
    removeWatch(idleWatch_);
    idleWatch_ =
        addWatch(QStringLiteral("AddIdleWatch"), {QVariant::fromValue<quint64>(timeout.count())});
}

uint MutterIdleSource::addWatch(const QString& method, const QVariantList& arguments) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(MONITOR_SERVICE, MONITOR_PATH, MONITOR_INTERFACE, method);
    call.setArguments(arguments);
    const QDBusReply<uint> reply = bus_.call(call, QDBus::Block, CALL_TIMEOUT_MS);
    if (!reply.isValid()) {
        fail(QStringLiteral("GNOME's idle monitor refused %1: %2")
                 .arg(method, reply.error().message()));
        return 0;
    }
    return reply.value();
}

void MutterIdleSource::removeWatch(uint& id) {
    if (id == 0)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(MONITOR_SERVICE, MONITOR_PATH,
                                                       MONITOR_INTERFACE, "RemoveWatch");
    call.setArguments({id});
    bus_.send(call); // a watch that has already gone is no matter
    id = 0;
}

void MutterIdleSource::watchForInput() {
    if (activeWatch_ == 0)
        activeWatch_ = addWatch(QStringLiteral("AddUserActiveWatch"), {});
}

// Idle watches fire each time the idle time passes their interval, and at
// once when it has already passed: a watch set up while the session was idle
// reports early, and the rest of the time is waited here, unless input comes.
void MutterIdleSource::takeFiredWatch(uint id) {
    if (failed_ || id == 0)
        return;
    if (id == activeWatch_) {
        activeWatch_ = 0; // user-active watches fire once
        remainder_.stop();
        waitingForInhibitors_ = false;
        return;
    }
    if (id != idleWatch_ || reported_)
        return;
    const auto waited = std::chrono::milliseconds(sinceWatch_.elapsed());
    if (waited < timeout_) {
        remainder_.start(timeout_ - waited);
        watchForInput();
        return;
    }
    idleLongEnough();
}

void MutterIdleSource::idleLongEnough() {
    if (failed_ || reported_)
        return;
    if (inhibited()) {
        // Reported when the last inhibitor goes while the session is still
        // idle; input first means the idle watch fires again later.
        waitingForInhibitors_ = true;
        watchForInput();
        return;
    }
    report();
}

void MutterIdleSource::takeInhibitorChange() {
    if (waitingForInhibitors_ && !reported_ && !failed_ && !inhibited()) {
        waitingForInhibitors_ = false;
        report();
    }
}

// Without a session manager nobody can inhibit.
bool MutterIdleSource::inhibited() {
    QDBusMessage call = QDBusMessage::createMethodCall(SESSION_SERVICE, SESSION_PATH,
                                                       SESSION_INTERFACE, "IsInhibited");
    call.setArguments({INHIBIT_IDLE});
    const QDBusReply<bool> reply = bus_.call(call, QDBus::Block, CALL_TIMEOUT_MS);
    return reply.isValid() && reply.value();
}

void MutterIdleSource::report() {
    reported_ = true;
    removeWatch(activeWatch_);
    emit idle();
}

void MutterIdleSource::takeDisconnection() {
    fail(QStringLiteral("lost the connection to the session bus"));
}

void MutterIdleSource::fail(const QString& why) {
    if (failed_)
        return;
    failed_ = true;
    remainder_.stop();
    emit lost(why);
}

} // namespace lumivane
