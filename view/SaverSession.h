// The full-screen saver: one frameless, top-most SaverWindow per connected
// screen, each with a scene of its own, all ending together on the first sign
// of the user (a key, a mouse button, a pointer movement of more than 50
// pixels, or the loss of activation).
#pragma once

#include "view/SaverWindow.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace lumivane {

class PlatformServices;

// The state the saver's windows share: the pointer's reference position and
// the close sequence, with its password check where the platform asks for one.
class SaverSession : public QObject {
    Q_OBJECT

  public:
    SaverSession(const ViewEnvironment& environment, PlatformServices& platform);
    ~SaverSession() override;

    // Opens a window on every connected screen showing pattern; the primary
    // screen's window draws primaryScene, the others get scenes of their own.
    // Each window arms its reset timer from pattern and resets once.
    void open(Scene& primaryScene, const Pattern& pattern);

    // The first qualifying input: asks for the password where the platform
    // wants one, then closes every window on its next frame tick.
    void requestClose();
    // A pointer position in global coordinates; the first one becomes the reference.
    void pointerMoved(QPoint globalPosition);

    bool isClosing() const { return closing_; }
    bool inPasswordCheck() const { return inPasswordCheck_; }
    bool isPasswordFree() const { return passwordFree_; }
    std::optional<QPoint> lastCursor() const { return lastCursor_; }
    bool owns(const QWidget* widget) const;
    std::vector<SaverWindow*> windows() const;
    // Closes every window at once, without the close sequence (program exit).
    void destroyWindows();

  signals:
    // Every window has been destroyed.
    void finished();

  private:
    void windowDestroyed(QObject* window);
    void tryGrabInput();

    ViewEnvironment environment_;
    PlatformServices& platform_;
    std::optional<QPoint> lastCursor_;
    bool closing_ = false;
    bool inPasswordCheck_ = false;
    bool passwordFree_ = false;
    // A window and its address as a QObject, taken while it was whole: by the
    // time it reports its destruction it is no longer a SaverWindow, so it is
    // found by the address, never by converting back.
    struct OpenWindow {
        QPointer<SaverWindow> window;
        const QObject* object;
    };
    std::vector<OpenWindow> windows_;
    std::vector<std::unique_ptr<Scene>> ownScenes_;
    QTimer grabTimer_;
};

} // namespace lumivane
