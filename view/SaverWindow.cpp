#include "view/SaverWindow.h"

#include "view/SaverSession.h"
#include "view/ViewRules.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace lumivane {

SaverWindow::SaverWindow(const ViewEnvironment& environment, SaverSession& session)
    : KaleidoView(environment, nullptr), session_(session) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

namespace {

// Xwayland, the X server of Wayland compositors, names its outputs XWAYLAND0
// and so on, or (from version 23) announces itself with an extension of that
// name.
bool onXWayland() {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->name().startsWith(QLatin1String("XWAYLAND"))) {
            return true;
        }
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return false;
    }
    constexpr char NAME[] = "XWAYLAND";
    xcb_query_extension_reply_t* reply = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof NAME - 1, NAME), nullptr);
    const bool present = reply != nullptr && reply->present != 0;
    std::free(reply);
    return present;
}

} // namespace

// On X11 the windows place themselves, outside the window manager, as screen
// savers do: a window manager puts a full-screen window where it likes (under
// XWayland, every one on the output that has the focus), and the input grab
// keeps the keyboard and the pointer. A Wayland compositor's X window manager
// takes the focus back from a window it did not give it to, which would end
// the saver at once: there the windows wait for the compositor's focus.
// Elsewhere each window asks to be full screen on its screen.
void SaverWindow::createFullScreen(QScreen* screen) {
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    if (x11) {
        setWindowFlag(Qt::X11BypassWindowManagerHint);
    }
    if (screen != nullptr) {
        setScreen(screen);
        setGeometry(screen->geometry());
    }
    if (x11 && screen != nullptr) {
        show();
    } else {
        showFullScreen();
    }
    raise();
    if (!x11 || !onXWayland()) {
        activateWindow();
    }
}

void SaverWindow::beginClosing() {
    setRunning(false);
    // Closing must not wait for the picture to be seen again (a powered-down display).
    setFrameTimerNeedsSight(false);
    restartFrameTimer(CLOSE_DELAY_MS);
}

void SaverWindow::keyPressEvent(QKeyEvent* event) {
    if (!session_.inPasswordCheck()) {
        session_.requestClose();
    }
    KaleidoView::keyPressEvent(event);
}

void SaverWindow::mousePressEvent(QMouseEvent* event) {
    if (!session_.inPasswordCheck()) {
        session_.requestClose();
    }
    event->accept();
}

void SaverWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!session_.inPasswordCheck()) {
        session_.pointerMoved(event->globalPosition().toPoint());
    }
    event->accept();
}

// Only a change from active to inactive ends the saver, and not when the
// activation moved to another of the saver's own windows.
void SaverWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow()) {
            wasActive_ = true;
        } else if (wasActive_) {
            wasActive_ = false;
            if (!session_.inPasswordCheck() && !session_.owns(QApplication::activeWindow())) {
                session_.requestClose();
            }
        }
    }
    KaleidoView::changeEvent(event);
}

// The window closes itself at the end of the close sequence; a close asked for
// from outside (a window manager's close button, Alt+F4) is refused.
void SaverWindow::closeEvent(QCloseEvent* event) {
    if (session_.isClosing()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void SaverWindow::frameTimerExpired() {
    if (session_.inPasswordCheck()) {
        return;
    }
    if (session_.isClosing()) {
        close();
        return;
    }
    KaleidoView::frameTimerExpired();
}

void SaverWindow::resetTimerExpired() {
    if (!session_.inPasswordCheck()) {
        KaleidoView::resetTimerExpired();
    }
}

} // namespace lumivane
