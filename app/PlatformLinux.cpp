#ifndef _WIN32

#include "app/PlatformLinux.h"

#include "app/Environment.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane {
namespace {

constexpr int POLITE_NICE_STEP = 10;
constexpr const char* LOCK_FILE_NAME = "lumivane.lock";
constexpr mode_t PRIVATE_FOLDER_MODE = 0700;

// The runtime folder is used only when it is this user's and nobody else may
// write to it: one inherited from another user (after su, say) is passed over.
bool usableRuntimeFolder(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 022) == 0;
}

struct LockFolder {
    std::string path;
    bool runtime; // the user's runtime folder, else our private folder in the temporary folder
};

LockFolder lockFolder() {
    const std::string runtime = absoluteEnv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (!runtime.empty() && ::stat(runtime.c_str(), &info) == 0 && usableRuntimeFolder(info))
        return {runtime, true};
    std::string base = absoluteEnv("TMPDIR");
    if (base.empty())
        base = "/tmp";
    return {base + "/lumivane-" + std::to_string(::getuid()), false};
}

std::string reasonFor(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

// Opens the folder that holds the lock, making our private folder when create
// is set. A private folder counts only when it is a real folder of this user
// with mode 0700, so that nobody else can have put or replaced anything in it.
// Returns -1 with the reason in problem (left empty when there simply is none).
int openLockFolder(const LockFolder& folder, bool create, std::string& problem) {
    if (!folder.runtime && create && ::mkdir(folder.path.c_str(), PRIVATE_FOLDER_MODE) != 0 &&
        errno != EEXIST) {
        problem = "cannot make " + reasonFor(folder.path);
        return -1;
    }
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (folder.runtime ? 0 : O_NOFOLLOW);
    const int fd = ::open(folder.path.c_str(), flags);
    if (fd < 0) {
        if (errno != ENOENT || create)
            problem = "cannot open " + reasonFor(folder.path);
        return -1;
    }
    struct stat info {};
    const bool trusted = ::fstat(fd, &info) == 0 &&
                         (folder.runtime ? usableRuntimeFolder(info)
                                         : info.st_uid == ::getuid() &&
                                               (info.st_mode & 07777) == PRIVATE_FOLDER_MODE);
    if (!trusted) {
        ::close(fd);
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        problem = folder.path + " is not a private folder of this user (owner " +
                  std::to_string(info.st_uid) + ", mode " + mode + ")";
        return -1;
    }
    return fd;
}

// Opens the lock file without following links or waiting (a FIFO put in its
// place must not hang start-up), and only when it is a regular file of this
// user, so that nothing planted can redirect or fake the lock.
int openOwnLockFile(int flags, std::string& problem) {
    const LockFolder place = lockFolder();
    const int folder = openLockFolder(place, (flags & O_CREAT) != 0, problem);
    if (folder < 0)
        return -1;
    const std::string path = place.path + "/" + LOCK_FILE_NAME;
    const int fd = ::openat(folder, LOCK_FILE_NAME,
                            flags | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
    const int openError = errno;
    ::close(folder);
    if (fd < 0) {
        errno = openError;
        if (errno != ENOENT || (flags & O_CREAT) != 0)
            problem = "cannot open " + reasonFor(path);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_uid != ::getuid() || !S_ISREG(info.st_mode)) {
        ::close(fd);
        problem = path + " is not a regular file of this user";
        return -1;
    }
    return fd;
}

} // namespace

std::string saverLockPath() {
    return lockFolder().path + "/" + LOCK_FILE_NAME;
}

LinuxPlatformServices::~LinuxPlatformServices() {
    if (lockFd_ >= 0)
        ::close(lockFd_); // closing releases the lock
}

bool LinuxPlatformServices::saverIsRunning() const {
    std::string ignored;
    const int fd = openOwnLockFile(O_RDONLY, ignored);
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

bool LinuxPlatformServices::acquireSaverLock(std::string& problem) {
    return takeSaverLock(problem) == SaverLock::Taken;
}

// The lock alone decides: flock either gives it to this process or says that
// another holds it, with nothing in between for a second saver to slip through.
PlatformServices::SaverLock LinuxPlatformServices::takeSaverLock(std::string& problem) {
    if (lockFd_ >= 0)
        return SaverLock::Taken;
    const int fd = openOwnLockFile(O_RDWR | O_CREAT, problem);
    if (fd < 0)
        return SaverLock::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        problem = held ? saverLockPath() + " is held by another saver"
                       : "cannot lock " + reasonFor(saverLockPath());
        ::close(fd);
        return held ? SaverLock::HeldElsewhere : SaverLock::Unavailable;
    }
    lockFd_ = fd;
    return SaverLock::Taken;
}

std::unique_ptr<PlatformServices> makePlatformServices() {
    return std::make_unique<LinuxPlatformServices>();
}

} // namespace lumivane

#endif
