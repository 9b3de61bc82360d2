// Reading and replacing files in folders that other people may write to as
// well (a shared folder with the sticky bit, /tmp, a current directory): a
// planted symbolic link never leads a save somewhere else, a FIFO or device
// in a file's place is never waited on or replaced, and a replacement is all
// or nothing. Every name is resolved once to an open folder and a name in it,
// and the work is done relative to that folder.
#pragma once

#include "Archive.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include <sys/types.h>

namespace lumivane {

// What a save does when the name it replaces is a symbolic link.
enum class LinkHandling {
    ReplaceTarget, // the file at the end of the link is replaced; the link stays
    ReplaceLink,   // a regular file takes the link's place; its target is not touched
};

// What a name led to at one moment: for telling, when a file read earlier is
// saved, whether the name still leads to the same place and the same file.
struct FileSeen {
    bool resolved = false;    // the name could be followed to a folder
    bool throughLink = false; // a symbolic link was followed on the way
    dev_t folderDevice = 0;   // the folder that holds the final name
    ino_t folderInode = 0;
    std::string leaf; // the final name in that folder
    bool present = false;
    bool regular = false;
    bool link = false; // the final name is a link (only where links are not followed)
    bool folder = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    // The name leads to the same final place in both.
    bool samePlaceAs(const FileSeen& other) const;
    // The same file, unchanged, is there in both (or nothing is there in both).
    bool sameFileAs(const FileSeen& other) const;
};

// A name followed to the open folder that holds its final name. Symbolic links
// are followed (LinkHandling::ReplaceTarget) as the kernel does with
// protected_symlinks on: in a folder that is sticky and writable by everyone,
// only a link that belongs to this user or to the folder's owner. Throws
// StoreFileError for a link of someone else there, a loop of links, or a
// folder that cannot be opened.
class ResolvedName {
  public:
    ResolvedName(const std::string& path, LinkHandling links);
    ~ResolvedName();
    ResolvedName(ResolvedName&& other) noexcept;
    ResolvedName& operator=(ResolvedName&&) = delete;
    ResolvedName(const ResolvedName&) = delete;
    ResolvedName& operator=(const ResolvedName&) = delete;

    int folder() const { return folder_; }
    const std::string& leaf() const { return leaf_; }
    // The final file's path, for messages.
    const std::string& path() const { return path_; }
    // The path as it was given.
    const std::string& given() const { return given_; }
    bool throughLink() const { return throughLink_; }
    // What is there now (the final name is never followed).
    FileSeen look() const;

  private:
    void follow(LinkHandling links);

    int folder_ = -1;
    std::string leaf_;
    std::string path_;
    std::string given_;
    bool throughLink_ = false;
};

// What is at path now, following links as a save would; nothing resolved
// when the name cannot be followed.
FileSeen lookAtFile(const std::string& path);

// Throws StoreFileError when path is a link now but did not lead the same way
// when it was read (seenAtRead): a save must not follow a link planted later.
void checkLinksAsRead(const ResolvedName& name, const FileSeen& seenAtRead);

// The whole regular file at path, at most maxBytes. A FIFO, a device or a
// folder is refused without being opened for reading or waited on. Throws
// StoreFileError; seen, when given, then tells what was found as far as it
// was looked at. With readAs, links are followed only as checkLinksAsRead allows.
std::vector<std::uint8_t> readRegularFile(const std::string& path, std::size_t maxBytes,
                                          FileSeen* seen = nullptr,
                                          const FileSeen* readAs = nullptr);

// Replaces the file at path so that a reader sees either the whole old file or
// the whole new one: a temporary file with a name of its own (NAME.tmp-XXXXXX,
// the name shortened where it would grow too long) is created beside the final
// file, written, flushed to disk and renamed over it, and the folder is then
// flushed too. The new file keeps the old one's permission bits (and its owner
// and group where this process may set them); a new file gets the usual ones
// for the umask. A name that holds something other than a regular file (or a
// link to one) is refused. Temporaries of that name left by a save that was
// killed are removed once they are a minute old. Throws StoreFileError; the
// old file is then as it was.
class FileReplacement {
  public:
    // Creates the temporary file; readAs as for readRegularFile.
    explicit FileReplacement(const std::string& path,
                             LinkHandling links = LinkHandling::ReplaceTarget,
                             const FileSeen* readAs = nullptr);
    ~FileReplacement(); // removes the temporary unless committed
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    void write(const void* data, std::size_t n);
    // Flushes the temporary, renames it over the file and flushes the folder.
    void commit();

  private:
    void discardTemporary();

    ResolvedName name_;
    std::string temporary_;
    int fd_ = -1;
};

// The file at path replaced with bytes in one FileReplacement.
void replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 LinkHandling links = LinkHandling::ReplaceTarget,
                 const FileSeen* readAs = nullptr);

// How old a temporary of ours must be before a later save removes it.
constexpr int STALE_TEMPORARY_SECONDS = 60;

} // namespace lumivane
