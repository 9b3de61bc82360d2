// What the full-screen saver asks of the platform: whether a password is
// checked before it closes, the check itself, and the "a saver is running"
// mark. The application adapts its platform services to this; tests use fakes.
#pragma once

class QWidget;

namespace lumivane {

class SaverPlatform {
  public:
    virtual ~SaverPlatform() = default;

    // On the NT family (and on Linux) the program asks for no password.
    virtual bool isNtPlatform() const = 0;
    virtual bool passwordInUse() const = 0;
    // Shows the platform's prompt, owned by owner; true when the saver may close.
    virtual bool verifyPassword(QWidget* owner) = 0;
    // Tells the platform that a screen saver runs (true) or no longer runs.
    virtual void setSaverRunning(bool running) = 0;
};

} // namespace lumivane
