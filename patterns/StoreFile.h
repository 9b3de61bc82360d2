// Reading and writing a whole DataStore from and to a file (the data file and
// pattern bank files share the format).
#pragma once

#include "DataStore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumivane {

// What the user is told about a store file that was not taken.
constexpr const char* STORE_FILE_ERROR_TEXT = "File error!";
constexpr const char* NOT_A_STORE_TEXT = "Sorry, that's not a Lumivane pattern file!";
constexpr const char* LATER_VERSION_TEXT =
    "Sorry, that looks like a pattern bank saved by a later version of Lumivane.  "
    "You need to upgrade to the latest version!";

// The text for a refused read (loadStatus 1 or -1); empty for a read that succeeded.
constexpr const char* refusalText(std::int32_t loadStatus) {
    return loadStatus == LOAD_LATER_VERSION ? LATER_VERSION_TEXT
           : loadStatus == LOAD_NOT_A_STORE ? NOT_A_STORE_TEXT
                                            : "";
}

// Reads the file at path into store. Throws StoreFileError when the file cannot
// be opened or read, or ends early; the store is then unchanged. A refused file
// (not a store, or a later version) returns normally with store.loadStatus()
// telling which.
void loadStoreFile(const std::string& path, DataStore& store);

// The bytes of the file at path, as loadStoreFile reads them (at most a size no
// sensible store reaches). Throws StoreFileError.
std::vector<std::uint8_t> readStoreFileBytes(const std::string& path);

// What replaceFile does when the name it replaces is a symbolic link.
enum class LinkHandling {
    ReplaceTarget, // the file at the end of the link is replaced; the link stays
    ReplaceLink,   // a regular file takes the link's place; its target is not touched
};

// Replaces the file at path with bytes so that a reader sees either the whole
// old file or the whole new one: a temporary file with a name of its own is
// created in the folder of the file finally replaced, written, flushed to disk
// and renamed over that file, and the folder is then flushed too. The new file
// keeps the old one's permission bits (and its owner and group where this
// process may set them); a new file gets the usual ones for the umask. Throws
// StoreFileError; the old file and the folder are then as they were.
void replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 LinkHandling links = LinkHandling::ReplaceTarget);

// Writes the store to path with replaceFile: a failed save leaves the previous
// file intact, and a data file that is a link keeps being one. Throws
// StoreFileError.
void saveStoreFile(const std::string& path, const DataStore& store);

} // namespace lumivane
