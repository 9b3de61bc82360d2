// The application-wide settings every part of the program reads: the display
// options shared with the views, the dialogs' options, and where the data file
// lives.
#pragma once

#include "ui/DialogOptions.h"

#include <string>

namespace lumivane {

inline constexpr const char* DATA_FILE_NAME = "Lumivane.dat";

struct Options : DialogOptions {
    // Folder of the data file, ending in '/'; empty means the current directory.
    std::string dataDirectory;
    std::string dataFileName = DATA_FILE_NAME;

    std::string dataFilePath() const { return dataDirectory + dataFileName; }
};

} // namespace lumivane
