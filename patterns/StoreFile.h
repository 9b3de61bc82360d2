// Reading and writing a whole DataStore from and to a file (the data file and
// pattern bank files share the format).
#pragma once

#include "DataStore.h"

#include <string>

namespace lumivane {

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
