#include "view/SaverWindow.h"

#include "engine/Scene.h"
#include "view/SaverPlatform.h"
#include "view/ViewRules.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

#include <algorithm>

namespace lumivane {

namespace {
// How often the input grab is tried again while another client holds it.
constexpr int GRAB_RETRY_MS = 100;
} // namespace

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

SaverSession::SaverSession(const ViewEnvironment& environment, SaverPlatform& platform)
    : environment_(environment), platform_(platform) {
    if (!platform_.isNtPlatform()) {
        passwordFree_ = !platform_.passwordInUse();
        if (!passwordFree_) {
            platform_.setSaverRunning(true);
        }
    }
    grabTimer_.setInterval(GRAB_RETRY_MS);
    connect(&grabTimer_, &QTimer::timeout, this, &SaverSession::tryGrabInput);
}

SaverSession::~SaverSession() {
    destroyWindows();
    if (!platform_.isNtPlatform() && !passwordFree_) {
        platform_.setSaverRunning(false);
    }
}

void SaverSession::open(Scene& primaryScene, const Pattern& pattern) {
    QScreen* primary = QGuiApplication::primaryScreen();
    std::vector<QScreen*> screens{primary};
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            screens.push_back(screen);
        }
    }
    for (QScreen* screen : screens) {
        Scene* scene = &primaryScene;
        if (screen != primary) {
            ownScenes_.push_back(std::make_unique<Scene>());
            scene = ownScenes_.back().get();
            scene->setAnimationFactor(pattern.animationLevel);
        }
        auto* window = new SaverWindow(environment_, *this);
        windows_.push_back({window, window});
        connect(window, &QObject::destroyed, this, &SaverSession::windowDestroyed);
        window->attachScene(scene, pattern);
        window->createFullScreen(screen);
        window->armResetTimer();
        window->reset();
    }
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        tryGrabInput();
    }
}

// Without a window manager nothing gives the saver the keyboard, and another
// window could take the pointer; an active grab sends every key and pointer
// event to the saver. Another client may hold a grab for a moment (a menu, a
// hot key), so failures are retried.
void SaverSession::tryGrabInput() {
    SaverWindow* window = windows_.empty() ? nullptr : windows_.front().window.data();
    QWindow* handle = window != nullptr ? window->windowHandle() : nullptr;
    if (handle == nullptr || closing_) {
        grabTimer_.stop();
        return;
    }
    const bool keyboard = handle->setKeyboardGrabEnabled(true);
    const bool pointer = handle->setMouseGrabEnabled(true);
    if (keyboard && pointer) {
        window->grabKeyboard();
        window->grabMouse();
        grabTimer_.stop();
    } else if (!grabTimer_.isActive()) {
        grabTimer_.start();
    }
}

void SaverSession::pointerMoved(QPoint globalPosition) {
    if (!lastCursor_) {
        lastCursor_ = globalPosition;
        return;
    }
    if (pointerMovedTooFar(lastCursor_->x(), lastCursor_->y(), globalPosition.x(),
                           globalPosition.y())) {
        requestClose();
    }
}

// Where the platform asks for a password, the windows pause under the prompt;
// a refused prompt leaves the saver running with a fresh pattern and the
// pointer test starting again from where the pointer is now.
void SaverSession::requestClose() {
    if (closing_ || inPasswordCheck_) {
        return;
    }
    if (!platform_.isNtPlatform()) {
        const std::vector<SaverWindow*> open = windows();
        for (SaverWindow* window : open) {
            window->setRunning(false);
        }
        inPasswordCheck_ = true;
        const bool mayClose = platform_.verifyPassword(open.empty() ? nullptr : open.front());
        inPasswordCheck_ = false;
        lastCursor_ = QCursor::pos();
        for (SaverWindow* window : windows()) {
            window->setRunning(true);
            window->reset();
        }
        if (!mayClose) {
            return;
        }
    }
    closing_ = true;
    grabTimer_.stop();
    for (SaverWindow* window : windows()) {
        window->beginClosing();
    }
}

bool SaverSession::owns(const QWidget* widget) const {
    return widget != nullptr &&
           std::any_of(windows_.begin(), windows_.end(),
                       [widget](const OpenWindow& open) { return open.object == widget; });
}

std::vector<SaverWindow*> SaverSession::windows() const {
    std::vector<SaverWindow*> open;
    for (const OpenWindow& entry : windows_) {
        if (!entry.window.isNull()) {
            open.push_back(entry.window.data());
        }
    }
    return open;
}

void SaverSession::windowDestroyed(QObject* window) {
    std::erase_if(windows_, [window](const OpenWindow& entry) {
        return entry.window.isNull() || entry.object == window;
    });
    if (windows_.empty()) {
        emit finished();
    }
}

void SaverSession::destroyWindows() {
    grabTimer_.stop();
    for (SaverWindow* window : windows()) {
        disconnect(window, nullptr, this, nullptr);
        delete window;
    }
    windows_.clear();
}

} // namespace lumivane
