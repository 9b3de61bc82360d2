#include "SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <set>
#include <string_view>
#include <tuple>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane {
namespace {

constexpr int MAX_LINK_HOPS = 40;
constexpr std::string_view TEMPORARY_INFIX = ".tmp-";
constexpr std::size_t RANDOM_LETTERS = 6;
constexpr long DEFAULT_NAME_MAX = 255;

StoreFileError errorFor(const std::string& what, const std::string& path) {
    const std::string reason = std::strerror(errno);
    return StoreFileError(reason, what + " " + path + ": " + reason);
}

StoreFileError notRegular(const std::string& path, bool folder) {
    if (folder) {
        errno = EISDIR;
        return errorFor("cannot use", path);
    }
    return StoreFileError("it is not a regular file", path + " is not a regular file");
}

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

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// The kernel's protected_symlinks rule: in a sticky folder that everybody may
// write to, a link is followed only when it is the user's or the folder's
// owner's, so that nobody else can plant one for us to follow.
void checkLinkMayBeFollowed(int folder, const struct stat& link, const std::string& path) {
    struct stat info {};
    if (::fstat(folder, &info) != 0)
        throw errorFor("cannot look at the folder of", path);
    const bool shared = (info.st_mode & S_ISVTX) != 0 && (info.st_mode & S_IWOTH) != 0;
    if (shared && link.st_uid != ::geteuid() && link.st_uid != info.st_uid)
        throw StoreFileError("it is another user's link in a folder everybody may write to",
                             path + " is another user's link in a folder everybody may write "
                                    "to; it is not followed");
}

std::string readLinkAt(int folder, const std::string& leaf, const std::string& path) {
    std::string link(PATH_MAX, '\0');
    const ssize_t length = ::readlinkat(folder, leaf.c_str(), link.data(), link.size());
    if (length >= static_cast<ssize_t>(link.size()))
        errno = ENAMETOOLONG;
    if (length < 0 || length >= static_cast<ssize_t>(link.size()))
        throw errorFor("cannot read the link", path);
    link.resize(static_cast<std::size_t>(length));
    return link;
}

// Opens the folder path names, one part at a time from base (or from the root
// for an absolute path), so that every link met on the way, not only the last
// part's, is followed only as checkLinkMayBeFollowed allows. hops counts the
// links followed, against loops.
int openFolderFrom(int base, const std::string& path, int& hops) {
    Descriptor at;
    at.fd = ::openat(base, path.front() == '/' ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (at.fd < 0)
        throw errorFor("cannot open the folder", path);
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        int next = ::openat(at.fd, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        struct stat info {};
        if (next < 0 && (errno == ELOOP || errno == ENOTDIR) &&
            ::fstatat(at.fd, part.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISLNK(info.st_mode)) {
            const std::string shown = path.substr(0, end);
            checkLinkMayBeFollowed(at.fd, info, shown);
            if (++hops > MAX_LINK_HOPS) {
                errno = ELOOP;
                throw errorFor("cannot follow", shown);
            }
            next = openFolderFrom(at.fd, readLinkAt(at.fd, part, shown), hops);
        }
        if (next < 0)
            throw errorFor("cannot open the folder", path.substr(0, end));
        ::close(at.fd);
        at.fd = next;
    }
    return std::exchange(at.fd, -1);
}

// The permission bits for a new file under the process's umask.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool isTemporaryLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::string randomLetters() {
    static constexpr char LETTERS[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[RANDOM_LETTERS] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // Only the name's uniqueness rests on it, and O_EXCL checks that.
        static unsigned counter = 0;
        const auto mix = static_cast<unsigned>(::getpid()) * 2654435761u + ++counter * 40503u +
                         static_cast<unsigned>(::time(nullptr));
        for (std::size_t i = 0; i < sizeof bytes; ++i)
            bytes[i] = static_cast<unsigned char>(mix >> (i * 5));
    }
    std::string out;
    for (const unsigned char b : bytes)
        out += LETTERS[b % (sizeof LETTERS - 1)];
    return out;
}

// The start of the temporaries' names for leaf: leaf itself, or as much of it
// as leaves room for ".tmp-XXXXXX" within the folder's longest name (never
// cutting a UTF-8 sequence).
std::string temporaryPrefix(int folder, const std::string& leaf) {
    long nameMax = ::fpathconf(folder, _PC_NAME_MAX);
    if (nameMax <= 0)
        nameMax = DEFAULT_NAME_MAX;
    const std::size_t room =
        static_cast<std::size_t>(nameMax) - TEMPORARY_INFIX.size() - RANDOM_LETTERS;
    if (leaf.size() <= room)
        return leaf;
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(leaf[cut]) & 0xC0) == 0x80)
        --cut;
    return leaf.substr(0, cut);
}

bool isTemporaryOf(std::string_view name, const std::string& prefix) {
    if (name.size() != prefix.size() + TEMPORARY_INFIX.size() + RANDOM_LETTERS ||
        !name.starts_with(prefix) ||
        name.substr(prefix.size(), TEMPORARY_INFIX.size()) != TEMPORARY_INFIX)
        return false;
    const std::string_view letters = name.substr(name.size() - RANDOM_LETTERS);
    return std::all_of(letters.begin(), letters.end(), isTemporaryLetter);
}

// Removes this user's temporaries for prefix that a save killed part way left
// behind. Each folder is looked through once a process, so that writing many
// files into one folder stays linear; a folder is known by its name and its
// inode, as a new folder may get the inode of one removed before.
void removeStaleTemporaries(int folder, const std::string& folderName, const std::string& prefix) {
    static std::set<std::tuple<dev_t, ino_t, std::string>> visited;
    struct stat self {};
    if (::fstat(folder, &self) != 0 ||
        !visited.emplace(self.st_dev, self.st_ino, folderName).second)
        return;
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (entries == nullptr) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    std::vector<std::string> stale;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(entries)) {
        struct stat info {};
        if (isTemporaryOf(entry->d_name, prefix) &&
            ::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            now - info.st_mtime >= STALE_TEMPORARY_SECONDS)
            stale.emplace_back(entry->d_name);
    }
    ::closedir(entries);
    for (const std::string& name : stale)
        ::unlinkat(folder, name.c_str(), 0);
}

void writeAll(int fd, const void* data, std::size_t n, const std::string& name) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t written = ::write(fd, bytes + done, n - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = ENOSPC;
        if (written <= 0)
            throw errorFor("cannot write", name);
        done += static_cast<std::size_t>(written);
    }
}

} // namespace

bool FileSeen::samePlaceAs(const FileSeen& other) const {
    return resolved && other.resolved && folderDevice == other.folderDevice &&
           folderInode == other.folderInode && leaf == other.leaf;
}

bool FileSeen::sameFileAs(const FileSeen& other) const {
    if (present != other.present)
        return false;
    return !present ||
           (regular == other.regular && device == other.device && inode == other.inode &&
            size == other.size && modified.tv_sec == other.modified.tv_sec &&
            modified.tv_nsec == other.modified.tv_nsec);
}

ResolvedName::ResolvedName(const std::string& path, LinkHandling links) : given_(path) {
    try {
        follow(links);
    } catch (...) {
        if (folder_ >= 0)
            ::close(folder_); // the destructor does not run for a constructor that throws
        throw;
    }
}

void ResolvedName::follow(LinkHandling links) {
    const std::string& path = given_;
    std::string current = path;
    for (int hop = 0;; ++hop) {
        if (hop > MAX_LINK_HOPS) {
            errno = ELOOP;
            throw errorFor("cannot follow", path);
        }
        const std::string folder = folderOf(current);
        const std::string leaf = leafOf(current);
        if (leaf.empty()) {
            errno = EISDIR;
            throw errorFor("cannot use", current);
        }
        const int fd = openFolderFrom(AT_FDCWD, folder, hop);
        if (folder_ >= 0)
            ::close(folder_);
        folder_ = fd;
        leaf_ = leaf;
        path_ = current;
        struct stat info {};
        if (links == LinkHandling::ReplaceLink ||
            ::fstatat(fd, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(info.st_mode))
            return;
        checkLinkMayBeFollowed(fd, info, current);
        const std::string target = readLinkAt(fd, leaf, current);
        throughLink_ = true;
        current = !target.empty() && target.front() == '/' ? target : folder + "/" + target;
    }
}

ResolvedName::~ResolvedName() {
    if (folder_ >= 0)
        ::close(folder_);
}

ResolvedName::ResolvedName(ResolvedName&& other) noexcept
    : folder_(std::exchange(other.folder_, -1)), leaf_(std::move(other.leaf_)),
      path_(std::move(other.path_)), given_(std::move(other.given_)),
      throughLink_(other.throughLink_) {}

FileSeen ResolvedName::look() const {
    FileSeen seen;
    struct stat info {};
    if (::fstat(folder_, &info) != 0)
        return seen;
    seen.resolved = true;
    seen.throughLink = throughLink_;
    seen.folderDevice = info.st_dev;
    seen.folderInode = info.st_ino;
    seen.leaf = leaf_;
    if (::fstatat(folder_, leaf_.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return seen;
    seen.present = true;
    seen.regular = S_ISREG(info.st_mode);
    seen.link = S_ISLNK(info.st_mode);
    seen.folder = S_ISDIR(info.st_mode);
    seen.device = info.st_dev;
    seen.inode = info.st_ino;
    seen.size = info.st_size;
    seen.modified = info.st_mtim;
    return seen;
}

FileSeen lookAtFile(const std::string& path) {
    try {
        return ResolvedName(path, LinkHandling::ReplaceTarget).look();
    } catch (const StoreFileError&) {
        return FileSeen{};
    }
}

void checkLinksAsRead(const ResolvedName& name, const FileSeen& seenAtRead) {
    if (!name.throughLink())
        return;
    if (seenAtRead.throughLink && name.look().samePlaceAs(seenAtRead))
        return;
    throw StoreFileError("it is a link that was not there when the file was read",
                         name.given() +
                             " is a link that was not there when the file was read; it is "
                             "not followed");
}

std::vector<std::uint8_t> readRegularFile(const std::string& path, std::size_t maxBytes,
                                          FileSeen* seen, const FileSeen* readAs) {
    FileSeen local;
    FileSeen& found = seen != nullptr ? *seen : local;
    found = FileSeen{};
    const ResolvedName name(path, LinkHandling::ReplaceTarget);
    found = name.look();
    if (readAs != nullptr)
        checkLinksAsRead(name, *readAs);
    if (!found.present) {
        errno = ENOENT;
        throw errorFor("cannot open", path);
    }
    if (!found.regular)
        throw notRegular(path, found.folder);
    // Not waiting even if a FIFO was swapped in since the look, nor following a new link.
    Descriptor file{::openat(name.folder(), name.leaf().c_str(),
                             O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0)
        throw errorFor("cannot open", path);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        throw errorFor("cannot read", path);
    if (!S_ISREG(info.st_mode))
        throw notRegular(path, S_ISDIR(info.st_mode));
    found.device = info.st_dev;
    found.inode = info.st_ino;
    found.size = info.st_size;
    found.modified = info.st_mtim;
    const auto tooLarge = [&] {
        return StoreFileError("the file is too large", path + " is too large (more than " +
                                                           std::to_string(maxBytes) + " bytes)");
    };
    if (info.st_size > 0 && static_cast<std::uintmax_t>(info.st_size) > maxBytes)
        throw tooLarge();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)));
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw errorFor("cannot read", path);
        if (got == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes)
            throw tooLarge();
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

FileReplacement::FileReplacement(const std::string& path, LinkHandling links,
                                 const FileSeen* readAs)
    : name_(path, links) {
    if (readAs != nullptr)
        checkLinksAsRead(name_, *readAs);
    const int folder = name_.folder();
    struct stat old {};
    const bool exists = ::fstatat(folder, name_.leaf().c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    const bool hadFile = exists && S_ISREG(old.st_mode);
    if (exists && !hadFile && !(links == LinkHandling::ReplaceLink && S_ISLNK(old.st_mode)))
        throw notRegular(name_.given(), S_ISDIR(old.st_mode));

    const std::string prefix = temporaryPrefix(folder, name_.leaf());
    removeStaleTemporaries(folder, folderOf(name_.path()), prefix);
    for (int attempt = 0; fd_ < 0; ++attempt) {
        std::string candidate = prefix + std::string(TEMPORARY_INFIX) + randomLetters();
        fd_ = ::openat(folder, candidate.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd_ >= 0)
            temporary_ = std::move(candidate);
        else if (errno != EEXIST || attempt >= 100)
            throw errorFor("cannot create a temporary file in", folderOf(name_.path()));
    }
    if (hadFile && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Only as far as this process may; the file is still saved without it.
        [[maybe_unused]] const int ignored = ::fchown(fd_, old.st_uid, old.st_gid);
    }
    if (::fchmod(fd_, hadFile ? old.st_mode & 07777 : newFileMode()) != 0) {
        const StoreFileError error =
            errorFor("cannot set the permissions of", folderOf(name_.path()) + "/" + temporary_);
        discardTemporary(); // the destructor does not run for a constructor that throws
        throw error;
    }
}

void FileReplacement::discardTemporary() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!temporary_.empty())
        ::unlinkat(name_.folder(), temporary_.c_str(), 0);
    temporary_.clear();
}

FileReplacement::~FileReplacement() {
    discardTemporary();
}

void FileReplacement::write(const void* data, std::size_t n) {
    writeAll(fd_, data, n, folderOf(name_.path()) + "/" + temporary_);
}

void FileReplacement::commit() {
    const std::string shown = folderOf(name_.path()) + "/" + temporary_;
    if (::fsync(fd_) != 0)
        throw errorFor("cannot flush", shown);
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0)
        throw errorFor("cannot close", shown);
    if (::renameat(name_.folder(), temporary_.c_str(), name_.folder(), name_.leaf().c_str()) != 0)
        throw errorFor("cannot replace", name_.path());
    temporary_.clear();
    // Makes the rename last. Some file systems cannot flush a folder; the file
    // itself is on disk already, so this is done as far as it goes.
    ::fsync(name_.folder());
}

void replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 LinkHandling links, const FileSeen* readAs) {
    FileReplacement replacement(path, links, readAs);
    replacement.write(bytes.data(), bytes.size());
    replacement.commit();
}

} // namespace lumivane
