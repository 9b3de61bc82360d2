// The platform services the program relies on for the screen-saver password,
// for noticing a saver that already runs and for polite mode. The interface is
// plain C++ so that each platform's implementation stands on its own and tests
// can put a fake in its place.
#pragma once

#include <memory>
#include <string>

namespace lumivane {

class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    virtual bool isNtPlatform() const = 0;
    // True when password protection is on or its setting cannot be read.
    virtual bool passwordInUse() const = 0;
    virtual bool saverIsRunning() const = 0;
    // True when the saver may close. owner is the window that owns the prompt.
    virtual bool verifyPassword(void* owner) = 0;
    // Hands the change of the password to the platform; parentHandle 0 is none.
    virtual void changePassword(long long parentHandle) = 0;
    // Lets other programs go first while the saver runs.
    virtual void lowerPriority() = 0;
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

// The services of the platform the program was built for.
std::unique_ptr<PlatformServices> makePlatformServices();

} // namespace lumivane
