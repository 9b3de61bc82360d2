// The settings the configuration dialogs read: the working copies of the four
// option words kept in the data file, and the cursor of the quick-help mode.
// The application's Options hold one record of them.
#pragma once

#include <QCursor>

#include <optional>

namespace lumivane {

class DataStore;

struct DialogSettings {
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
void copyPersistedOptionWords(const DataStore& store, DialogSettings& settings);
// Persisted option words <- working ones (each time the preferences close).
void copyWorkingOptionWords(const DialogSettings& settings, DataStore& store);

} // namespace lumivane
