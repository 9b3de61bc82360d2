#include "StoreFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane {
namespace {

// Store files are small (380 bytes a pattern); anything far beyond the largest
// sensible bank is not read into memory.
constexpr long MAX_STORE_FILE_BYTES = 64L * 1024 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

StoreFileError errorFor(const std::string& what, const std::string& path) {
    const std::string reason = std::strerror(errno);
    return StoreFileError(reason, what + " " + path + ": " + reason);
}

constexpr int MAX_LINK_HOPS = 40;

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".")
           : slash == 0               ? std::string("/")
                                      : path.substr(0, slash);
}

std::string leafOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save to path finally replaces: path itself, or the end of its
// chain of symbolic links, which need not exist yet.
std::string linkTarget(std::string path) {
    for (int hop = 0; hop < MAX_LINK_HOPS; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size())
            throw errorFor("cannot read the link", path);
        link.resize(static_cast<std::size_t>(length));
        path = !link.empty() && link.front() == '/' ? link : folderOf(path) + "/" + link;
    }
    errno = ELOOP;
    throw errorFor("cannot follow", path);
}

// The permission bits for a new file under the process's umask.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A temporary file that is closed and removed unless it was renamed into place.
struct Temporary {
    std::string name;
    int fd = -1;
    ~Temporary() {
        if (fd >= 0)
            ::close(fd);
        if (!name.empty())
            ::unlink(name.c_str());
    }
};

void writeAll(int fd, const std::vector<std::uint8_t>& bytes, const std::string& name) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw errorFor("cannot write", name);
        done += static_cast<std::size_t>(written);
    }
}

// Makes the rename in folder last. Some file systems cannot flush a folder;
// the file itself is on disk already, so this is done as far as it goes.
void flushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::vector<std::uint8_t> readStoreFileBytes(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw errorFor("cannot open", path);
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (bytes.size() > static_cast<std::size_t>(MAX_STORE_FILE_BYTES))
            throw StoreFileError("file too large: " + path);
    }
    if (std::ferror(file.get()))
        throw errorFor("cannot read", path);
    return bytes;
}

void loadStoreFile(const std::string& path, DataStore& store) {
    Archive archive = Archive::forLoading(readStoreFileBytes(path));
    store.serialize(archive);
}

void replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 LinkHandling links) {
    const std::string target = links == LinkHandling::ReplaceTarget ? linkTarget(path) : path;
    const std::string folder = folderOf(target);

    struct stat old {};
    const bool hadFile = ::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    Temporary temporary;
    std::string name = folder + "/" + leafOf(target) + ".tmp-XXXXXX";
    temporary.fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (temporary.fd < 0)
        throw errorFor("cannot create a temporary file in", folder);
    temporary.name = name;
    if (hadFile && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Only as far as this process may; the file is still saved without it.
        [[maybe_unused]] const int ignored = ::fchown(temporary.fd, old.st_uid, old.st_gid);
    }
    if (::fchmod(temporary.fd, hadFile ? old.st_mode & 07777 : newFileMode()) != 0)
        throw errorFor("cannot set the permissions of", name);

    writeAll(temporary.fd, bytes, name);
    if (::fsync(temporary.fd) != 0)
        throw errorFor("cannot flush", name);
    const int fd = temporary.fd;
    temporary.fd = -1;
    if (::close(fd) != 0)
        throw errorFor("cannot close", name);
    if (::rename(name.c_str(), target.c_str()) != 0)
        throw errorFor("cannot replace", target);
    temporary.name.clear();
    flushFolder(folder);
}

void saveStoreFile(const std::string& path, const DataStore& store) {
    Archive archive = Archive::forStoring();
    const_cast<DataStore&>(store).serialize(archive); // storing never modifies
    replaceFile(path, archive.bytes());
}

} // namespace lumivane
