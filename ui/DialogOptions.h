// The settings the configuration dialogs read and change: the display options
// shared with the views, the working copies of the four option words kept in
// the data file, and the cursor of the quick-help mode. The application's
// Options record extends it.
#pragma once

#include "view/DisplayOptions.h"

#include <QCursor>

#include <optional>

namespace lumivane {

class DataStore;

struct DialogOptions : DisplayOptions {
    // Working copies of the option words; the store holds the persisted ones.
    bool politeMode = false;
    bool noTabMarks = false;
    bool warnOnQuit = true;
    bool enterKeepsDialog = true;

    // The quick-help mode's cursor, made by the configuration mode.
    std::optional<QCursor> helpCursor;
    bool helpCursorsReady = false;
};

// Working option words <- persisted ones (after a successful read).
void copyPersistedOptionWords(const DataStore& store, DialogOptions& options);
// Persisted option words <- working ones (each time the preferences close).
void copyWorkingOptionWords(const DialogOptions& options, DataStore& store);

} // namespace lumivane
