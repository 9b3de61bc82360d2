// A Wayland connection of the idle watcher's own, apart from any toolkit's: it
// binds the first seat and the idle protocols the compositor offers, and reads
// the compositor's events from the event loop.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct ext_idle_notifier_v1;
struct org_kde_kwin_idle;
class QSocketNotifier;

namespace lumivane {

class WaylandConnection : public QObject {
    Q_OBJECT

  public:
    // Connects to $WAYLAND_DISPLAY and learns the compositor's globals;
    // nothing, with the reason in problem, when that fails.
    static std::unique_ptr<WaylandConnection> open(QString& problem);
    ~WaylandConnection() override;
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_seat* seat() const { return seat_; }
    ext_idle_notifier_v1* extIdleNotifier() const { return extIdleNotifier_; }
    org_kde_kwin_idle* kdeIdle() const { return kdeIdle_; }

    // Sends the requests made since the last call.
    void flush();

    // Called by the registry listener.
    void announce(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);

  signals:
    void lost(const QString& why);

  private:
    explicit WaylandConnection(wl_display* display);
    void readEvents();
    void fail(const QString& what);

    wl_display* display_;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    ext_idle_notifier_v1* extIdleNotifier_ = nullptr;
    org_kde_kwin_idle* kdeIdle_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    bool failed_ = false;
};

} // namespace lumivane
