#include "view/DisplayPower.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>

#include <xcb/dpms.h>
#include <xcb/xcb.h>

#include <cstdlib>

namespace lumivane {

namespace {

class AlwaysOn : public DisplayPowerSource {
  public:
    bool isOn() override { return true; }
    bool canChange() const override { return false; }
};

// Asks on Qt's own connection to the X server; each question is one round trip.
class DpmsPower : public DisplayPowerSource {
  public:
    explicit DpmsPower(xcb_connection_t* connection) : connection_(connection) {}

    bool isOn() override {
        if (xcb_connection_has_error(connection_) != 0)
            return true;
        xcb_dpms_info_reply_t* reply =
            xcb_dpms_info_reply(connection_, xcb_dpms_info(connection_), nullptr);
        // Without power management enabled the monitor stays on whatever the level says.
        const bool on =
            reply == nullptr || reply->state == 0 || reply->power_level == XCB_DPMS_DPMS_MODE_ON;
        std::free(reply);
        return on;
    }

  private:
    xcb_connection_t* connection_;
};

bool hasDpms(xcb_connection_t* connection) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_dpms_id);
    if (extension == nullptr || extension->present == 0)
        return false;
    xcb_dpms_capable_reply_t* capable =
        xcb_dpms_capable_reply(connection, xcb_dpms_capable(connection), nullptr);
    const bool yes = capable != nullptr && capable->capable != 0;
    std::free(capable);
    return yes;
}

} // namespace

std::unique_ptr<DisplayPowerSource> makeDisplayPowerSource() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection != nullptr && hasDpms(connection))
        return std::make_unique<DpmsPower>(connection);
    return std::make_unique<AlwaysOn>();
}

DisplayPowerWatch::DisplayPowerWatch(std::unique_ptr<DisplayPowerSource> source, int intervalMs,
                                     QObject* parent)
    : QObject(parent), source_(std::move(source)) {
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &DisplayPowerWatch::check);
}

DisplayPowerWatch::~DisplayPowerWatch() = default;

DisplayPowerWatch* DisplayPowerWatch::shared() {
    static QPointer<DisplayPowerWatch> watch;
    if (watch == nullptr && QCoreApplication::instance() != nullptr)
        watch = new DisplayPowerWatch(makeDisplayPowerSource(), DISPLAY_POWER_POLL_MS,
                                      QCoreApplication::instance());
    return watch.data();
}

void DisplayPowerWatch::addWatcher() {
    if (watchers_++ == 0) {
        check();
        if (source_->canChange())
            timer_.start();
    }
}

void DisplayPowerWatch::removeWatcher() {
    if (watchers_ > 0 && --watchers_ == 0)
        timer_.stop();
}

void DisplayPowerWatch::check() {
    const bool on = source_->isOn();
    if (on != on_) {
        on_ = on;
        emit changed(on_);
    }
}

} // namespace lumivane
