#include "StoreFile.h"

namespace lumivane {

std::vector<std::uint8_t> readStoreFileBytes(const std::string& path, FileSeen* seen,
                                             const FileSeen* readAs) {
    return readRegularFile(path, MAX_STORE_FILE_BYTES, seen, readAs);
}

void loadStoreFile(const std::string& path, DataStore& store, FileSeen* seen,
                   const FileSeen* readAs) {
    Archive archive = Archive::forLoading(readStoreFileBytes(path, seen, readAs));
    store.serialize(archive);
}

std::vector<std::uint8_t> storeFileImage(const DataStore& store) {
    if (store.count() > MAX_STORED_PATTERNS)
        throw StoreFileError("it would hold " + std::to_string(store.count()) +
                             " patterns, and a file holds at most " +
                             std::to_string(MAX_STORED_PATTERNS));
    Archive archive = Archive::forStoring();
    const_cast<DataStore&>(store).serialize(archive); // storing never modifies
    return archive.bytes();
}

void saveStoreFile(const std::string& path, const DataStore& store, const FileSeen* readAs) {
    replaceFile(path, storeFileImage(store), LinkHandling::ReplaceTarget, readAs);
}

} // namespace lumivane
