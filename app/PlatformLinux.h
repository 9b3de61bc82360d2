// Platform services on Linux. No password is asked here: locking the screen is
// the desktop's screen locker's job, so the services behave like the NT family
// of the original platform. A running full-screen saver is recognised by a
// lock on a file in the user's runtime folder, or, without a runtime folder of
// this user's own, in a private folder "lumivane-<uid>" (mode 0700) in $TMPDIR
// or /tmp.
#pragma once

#include "view/PlatformServices.h"

#include <string>

namespace lumivane {

class LinuxPlatformServices : public PlatformServices {
  public:
    LinuxPlatformServices() = default;
    ~LinuxPlatformServices() override;
    LinuxPlatformServices(const LinuxPlatformServices&) = delete;
    LinuxPlatformServices& operator=(const LinuxPlatformServices&) = delete;

    bool isNtPlatform() const override { return true; }
    bool passwordInUse() const override { return false; }
    bool saverIsRunning() const override;
    bool verifyPassword(void*) override { return true; }
    void changePassword(long long) override {}
    void lowerPriority() override;
    bool acquireSaverLock(std::string& problem) override;
    SaverLock takeSaverLock(std::string& problem) override;

  private:
    int lockFd_ = -1;
};

// $XDG_RUNTIME_DIR/lumivane.lock, or lumivane-<uid>/lumivane.lock in $TMPDIR
// (else /tmp) when the runtime folder is missing or not this user's.
std::string saverLockPath();

} // namespace lumivane
