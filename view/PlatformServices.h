// The platform services the program relies on: the screen-saver password, the
// record of a running saver, and polite mode. The full-screen saver asks them
// for the password before it closes; start-up asks them whether a saver runs
// already. The interface is plain C++ so that each platform's implementation
// (app/PlatformLinux, app/win32/PlatformWin32) stands on its own and tests can
// put a fake in its place.
#pragma once

#include <memory>
#include <string>

namespace lumivane {

class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    // On the NT family (and on Linux) the program asks for no password.
    virtual bool isNtPlatform() const = 0;
    // True when password protection is on or its setting cannot be read.
    virtual bool passwordInUse() const = 0;
    virtual bool saverIsRunning() const = 0;
    // Shows the platform's prompt, owned by the window owner; true when the
    // saver may close.
    virtual bool verifyPassword(void* owner) = 0;
    // Hands the change of the password to the platform; parentHandle 0 is none.
    virtual void changePassword(long long parentHandle) = 0;
    // Lets other programs go first while the saver runs.
    virtual void lowerPriority() = 0;
    // Tells the platform that a password-protected saver runs (true) or no
    // longer runs. A platform without such a record does nothing.
    virtual void setSaverRunning(bool) {}
    // Marks this process as the running full-screen saver until it ends.
    // Returns false, with the reason in problem, when the mark could not be
    // made (the saver still runs).
    virtual bool acquireSaverLock(std::string& problem) = 0;

    enum class SaverLock { Taken, HeldElsewhere, Unavailable };
    // The full-screen saver's first step: takes the mark above and tells
    // whether another saver holds it. A platform with a real lock answers
    // both in one step, so that of two savers started together exactly one
    // runs. Unavailable (with the reason in problem) when the mark cannot be
    // made at all. This default asks the two questions above in turn.
    virtual SaverLock takeSaverLock(std::string& problem) {
        if (saverIsRunning())
            return SaverLock::HeldElsewhere;
        return acquireSaverLock(problem) ? SaverLock::Taken : SaverLock::Unavailable;
    }
};

// The services of the platform the program was built for (defined with each
// platform's implementation in app/).
std::unique_ptr<PlatformServices> makePlatformServices();

// Start-up ends before reading the switch when a saver already runs and the
// platform would guard it with a password.
constexpr bool startUpMustEnd(bool saverRunning, bool ntPlatform, bool passwordInUse) {
    return saverRunning && (ntPlatform || passwordInUse);
}

} // namespace lumivane
