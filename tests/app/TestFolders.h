// Temporary folders for the application tests, and the environment they run
// in: HOME, the XDG folders and the runtime folder all point into /tmp so that
// no test touches the real home or profile.
#pragma once

#include <filesystem>
#include <string>

namespace lumivane::testing {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder's path with a trailing '/'.
    std::string slashed() const { return path_.string() + '/'; }

  private:
    std::filesystem::path path_;
};

// The whole content of a file (empty when it cannot be read).
std::string fileBytes(const std::filesystem::path& file);

// Sets the process-wide test environment once; returns the config folder.
const std::filesystem::path& testConfigHome();

// Makes sure a GUI application object exists (offscreen unless set otherwise).
void ensureGuiApplication();

} // namespace lumivane::testing
