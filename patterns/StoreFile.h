// Reading and writing a whole DataStore from and to a file (the data file and
// pattern bank files share the format).
#pragma once

#include "DataStore.h"

#include <string>

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

// Writes the store to path through a temporary file in the same folder that
// replaces the old file only once everything was written and flushed, so a
// failed save leaves the previous file intact. Throws StoreFileError.
void saveStoreFile(const std::string& path, const DataStore& store);

} // namespace lumivane
