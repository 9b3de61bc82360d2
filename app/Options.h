// The application-wide settings every part of the program reads: the display
// options shared with the views, where the data file lives, the working copies
// of the four option words kept in the data file, and the quick-help cursors.
#pragma once

#include "view/DisplayOptions.h"

#include <QCursor>

#include <optional>
#include <string>

namespace lumivane {

class DataStore;

inline constexpr const char* DATA_FILE_NAME = "Lumivane.dat";

struct Options : DisplayOptions {
    // Folder of the data file, ending in '/'; empty means the current directory.
    std::string dataDirectory;
    std::string dataFileName = DATA_FILE_NAME;

    // Working copies of the option words; the store holds the persisted ones.
    bool politeMode = false;
    bool noTabMarks = false;
    bool warnOnQuit = true;
    bool enterKeepsDialog = true;

    // Cursors of the quick-help mode, made by the configuration mode.
    std::optional<QCursor> arrowCursor;
    std::optional<QCursor> helpCursor;
    bool helpCursorsReady = false;

    std::string dataFilePath() const { return dataDirectory + dataFileName; }
};

// Working option words <- persisted ones (after a successful read).
void copyPersistedOptionWords(const DataStore& store, Options& options);
// Persisted option words <- working ones (when the preferences are accepted).
void copyWorkingOptionWords(const Options& options, DataStore& store);

} // namespace lumivane
