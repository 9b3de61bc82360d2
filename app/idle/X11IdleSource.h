// The X server's idle counter (the MIT-SCREEN-SAVER extension) on a
// connection of the watcher's own. The server's own saver settings are left
// alone: one timer, set from the idle time still missing, asks the server
// again when it expires. X11 players that inhibit the saver reset the
// server's idle counter themselves.
#pragma once

#include "app/idle/IdleSource.h"

#include <QElapsedTimer>
#include <QTimer>

#include <optional>

struct xcb_connection_t;
class QSocketNotifier;

namespace lumivane {

class X11IdleSource : public IdleSource {
    Q_OBJECT

  public:
    // Connects to $DISPLAY; nothing, with the reason in problem, without a
    // server or without the extension.
    static std::unique_ptr<X11IdleSource> open(QString& problem);
    ~X11IdleSource() override;

    QString name() const override { return QStringLiteral("MIT-SCREEN-SAVER"); }
    void watch(std::chrono::milliseconds timeout) override;

  private:
    X11IdleSource(xcb_connection_t* connection, std::uint32_t root);
    // Milliseconds since the last input, or nothing when the server is gone.
    std::optional<std::chrono::milliseconds> serverIdleTime();
    void check();
    void readEvents();
    void fail();

    xcb_connection_t* connection_;
    std::uint32_t root_;
    QSocketNotifier* notifier_;
    QTimer timer_;
    QElapsedTimer sinceWatch_;
    std::chrono::milliseconds timeout_{0};
    bool reported_ = true;
    bool failed_ = false;
};

} // namespace lumivane
