// The application-wide settings: one record for each layer that reads them
// (the views' display settings, the dialogs' settings), where the data file
// lives, and where a preview's window came from.
#pragma once

#include "ui/DialogSettings.h"
#include "view/DisplaySettings.h"

#include <string>

namespace lumivane {

inline constexpr const char* DATA_FILE_NAME = "Lumivane.dat";

struct Options {
    DisplaySettings display;
    DialogSettings dialogs;

    // Folder of the data file, ending in '/'; empty means the current directory.
    std::string dataDirectory;
    std::string dataFileName = DATA_FILE_NAME;

    // A preview started as a screen-saver hack with --root: without a host
    // window of its own it draws on the root window.
    bool previewOnRoot = false;
    // Where the preview's window id came from, for the message when it names
    // no window: "the argument" (/p ID) or "--window-id".
    std::string previewHandleOrigin = "the argument";

    std::string dataFilePath() const { return dataDirectory + dataFileName; }
};

} // namespace lumivane
