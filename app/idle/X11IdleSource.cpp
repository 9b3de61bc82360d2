#include "app/idle/X11IdleSource.h"

#include <QSocketNotifier>

#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace lumivane {

std::unique_ptr<X11IdleSource> X11IdleSource::open(QString& problem) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        problem = QStringLiteral("no X server answers at $DISPLAY");
        return nullptr;
    }
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(connection, &xcb_screensaver_id);
    if (extension == nullptr || extension->present == 0) {
        xcb_disconnect(connection);
        problem = QStringLiteral("the X server lacks the MIT-SCREEN-SAVER extension");
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    return std::unique_ptr<X11IdleSource>(new X11IdleSource(connection, screens.data->root));
}

X11IdleSource::X11IdleSource(xcb_connection_t* connection, std::uint32_t root)
    : connection_(connection), root_(root),
      notifier_(
          new QSocketNotifier(xcb_get_file_descriptor(connection), QSocketNotifier::Read, this)) {
    // Nothing is asked of the server while waiting, so the socket stirs only
    // when the server goes away.
    connect(notifier_, &QSocketNotifier::activated, this, &X11IdleSource::readEvents);
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &X11IdleSource::check);
}

X11IdleSource::~X11IdleSource() {
    xcb_disconnect(connection_);
}

void X11IdleSource::watch(std::chrono::milliseconds timeout) {
    timeout_ = timeout;
    reported_ = false;
    sinceWatch_.start();
    check();
}

std::optional<std::chrono::milliseconds> X11IdleSource::serverIdleTime() {
    xcb_screensaver_query_info_reply_t* info = xcb_screensaver_query_info_reply(
        connection_, xcb_screensaver_query_info(connection_, root_), nullptr);
    if (info == nullptr)
        return std::nullopt;
    const std::chrono::milliseconds idle(info->ms_since_user_input);
    std::free(info);
    return idle;
}

void X11IdleSource::check() {
    if (reported_ || failed_)
        return;
    const std::optional<std::chrono::milliseconds> serverIdle = serverIdleTime();
    if (!serverIdle) {
        fail();
        return;
    }
    const std::chrono::milliseconds quiet =
        std::min(*serverIdle, std::chrono::milliseconds(sinceWatch_.elapsed()));
    if (quiet >= timeout_) {
        reported_ = true;
        emit idle();
        return;
    }
    // Input in the meantime moves the end on; the timer then asks again.
    timer_.start(timeout_ - quiet);
}

void X11IdleSource::readEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_))
        std::free(event);
    if (xcb_connection_has_error(connection_) != 0)
        fail();
}

void X11IdleSource::fail() {
    if (failed_)
        return;
    failed_ = true;
    timer_.stop();
    notifier_->setEnabled(false);
    emit lost(QStringLiteral("lost the connection to the X server"));
}

} // namespace lumivane
