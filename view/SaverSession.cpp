#include "view/SaverSession.h"

#include "engine/Scene.h"
#include "view/PlatformServices.h"
#include "view/ViewRules.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace lumivane {

namespace {
// How often the input grab is tried again while another client holds it.
constexpr int GRAB_RETRY_MS = 100;
} // namespace

SaverSession::SaverSession(const ViewEnvironment& environment, PlatformServices& platform)
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
        // The prompt belongs to the saver's first window (its native handle).
        void* owner = open.empty() ? nullptr : reinterpret_cast<void*>(open.front()->winId());
        const bool mayClose = platform_.verifyPassword(owner);
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
