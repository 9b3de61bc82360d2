// Reading and writing a whole DataStore from and to a file (the data file and
// pattern bank files share the format).
#pragma once

#include "DataStore.h"
#include "SafeFile.h"

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
// be opened or read, is not a regular file (a FIFO or device is never waited
// on), is larger than any store file can be, or ends early; the store is then
// unchanged. A refused file (not a store, or a later version) returns normally
// with store.loadStatus() telling which. seen and readAs as for
// readRegularFile (SafeFile.h).
void loadStoreFile(const std::string& path, DataStore& store, FileSeen* seen = nullptr,
                   const FileSeen* readAs = nullptr);

// The bytes of the file at path, as loadStoreFile reads them (at most
// MAX_STORE_FILE_BYTES). Throws StoreFileError.
std::vector<std::uint8_t> readStoreFileBytes(const std::string& path, FileSeen* seen = nullptr,
                                             const FileSeen* readAs = nullptr);

// The store as file bytes. Throws StoreFileError for a store of more than
// MAX_STORED_PATTERNS patterns, which no reader would take back.
std::vector<std::uint8_t> storeFileImage(const DataStore& store);

// Writes the store to path with replaceFile (SafeFile.h): a failed save
// leaves the previous file intact, a data file that is a link keeps being one,
// and anything but a regular file at path is refused. A read-modify-write
// passes what it saw when it read the file as readAs. Throws StoreFileError.
void saveStoreFile(const std::string& path, const DataStore& store,
                   const FileSeen* readAs = nullptr);

} // namespace lumivane
