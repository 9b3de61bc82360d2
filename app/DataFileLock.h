// Serialises the read-modify-writes of one data (or bank) file among the
// programs that change it, so that no update is lost: an advisory lock
// (flock) on NAME.lock beside the file the name leads to, taken before the
// file is read and held until it is saved. Readers take no lock: a save
// replaces the file in one rename, so they always see a whole file.
#pragma once

#include <chrono>
#include <string>

namespace lumivane {

class ResolvedName;

// How long a writer waits for another one before it gives up.
inline constexpr std::chrono::milliseconds DATA_FILE_LOCK_WAIT{10000};

class DataFileLock {
  public:
    // Waits at most wait. Throws StoreFileError, with a reason that says what
    // is in the way, when the lock cannot be had: held elsewhere all that
    // time, or the lock file cannot be made or is not a regular file.
    explicit DataFileLock(const std::string& dataPath,
                          std::chrono::milliseconds wait = DATA_FILE_LOCK_WAIT);
    // The lock beside a name already resolved (and its links checked), in the
    // folder that name was found in.
    explicit DataFileLock(const ResolvedName& data,
                          std::chrono::milliseconds wait = DATA_FILE_LOCK_WAIT);
    ~DataFileLock(); // closing the file releases the lock
    DataFileLock(const DataFileLock&) = delete;
    DataFileLock& operator=(const DataFileLock&) = delete;

  private:
    int fd_ = -1;
};

} // namespace lumivane
