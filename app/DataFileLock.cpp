#include "app/DataFileLock.h"

#include "patterns/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane {
namespace {

constexpr const char* LOCK_SUFFIX = ".lock";
constexpr std::size_t LONGEST_NAME = 255;
constexpr std::chrono::milliseconds RETRY_PAUSE{5};

std::string reason() {
    return std::strerror(errno);
}

// Opens (or makes) the lock file without following a link or waiting on a
// FIFO. Another user's lock file in a shared folder may only be readable,
// which is enough for flock.
int openLockFile(int folder, const std::string& name) {
    constexpr int FLAGS = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::openat(folder, name.c_str(), O_RDWR | FLAGS);
        if (fd < 0 && errno == ENOENT) {
            fd = ::openat(folder, name.c_str(), O_RDWR | O_CREAT | O_EXCL | FLAGS, 0666);
            if (fd < 0 && errno == EEXIST)
                continue; // made by another writer just now
        }
        if (fd < 0 && (errno == EACCES || errno == EROFS))
            fd = ::openat(folder, name.c_str(), O_RDONLY | FLAGS);
        return fd;
    }
    return -1;
}

std::string waited(std::chrono::milliseconds wait) {
    return wait.count() % 1000 == 0 ? std::to_string(wait.count() / 1000) + " seconds"
                                    : std::to_string(wait.count()) + " ms";
}

} // namespace

DataFileLock::DataFileLock(const std::string& dataPath, std::chrono::milliseconds wait)
    : DataFileLock(ResolvedName(dataPath, LinkHandling::ReplaceTarget), wait) {}

DataFileLock::DataFileLock(const ResolvedName& data, std::chrono::milliseconds wait) {
    std::string name = data.leaf();
    name.resize(std::min(name.size(), LONGEST_NAME - std::strlen(LOCK_SUFFIX)));
    name += LOCK_SUFFIX;
    const std::string& file = data.path();
    const std::string shown = file.substr(0, file.size() - data.leaf().size()) + name;

    fd_ = openLockFile(data.folder(), name);
    if (fd_ < 0)
        throw StoreFileError("cannot open " + shown + ": " + reason());
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw StoreFileError(shown + " is not a regular file");
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd_);
            throw StoreFileError(error == EWOULDBLOCK
                                     ? "another program kept " + shown + " locked for " +
                                           waited(wait)
                                     : "cannot lock " + shown + ": " + std::strerror(error));
        }
        std::this_thread::sleep_for(RETRY_PAUSE);
    }
}

DataFileLock::~DataFileLock() {
    ::close(fd_);
}

} // namespace lumivane
