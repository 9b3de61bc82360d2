#ifndef _WIN32

#include "app/PlatformLinux.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane {
namespace {

constexpr int POLITE_NICE_STEP = 10;

// Opens the lock file without following links and only when it belongs to this
// user, so that a file planted in a shared folder can neither redirect nor fake
// the lock.
int openOwnLockFile(int flags) {
    const int fd = ::open(saverLockPath().c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_uid != ::getuid() || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::string saverLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/')
        return std::string(runtime) + "/lumivane.lock";
    return "/tmp/lumivane-" + std::to_string(::getuid()) + ".lock";
}

LinuxPlatformServices::~LinuxPlatformServices() {
    if (lockFd_ >= 0)
        ::close(lockFd_); // closing releases the lock
}

bool LinuxPlatformServices::saverIsRunning() const {
    const int fd = openOwnLockFile(O_RDONLY);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

void LinuxPlatformServices::lowerPriority() {
    errno = 0;
    [[maybe_unused]] const int niceness = ::nice(POLITE_NICE_STEP);
}

bool LinuxPlatformServices::acquireSaverLock() {
    if (lockFd_ >= 0)
        return true;
    const int fd = openOwnLockFile(O_RDWR | O_CREAT);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    lockFd_ = fd;
    return true;
}

std::unique_ptr<PlatformServices> makePlatformServices() {
    return std::make_unique<LinuxPlatformServices>();
}

} // namespace lumivane

#endif
