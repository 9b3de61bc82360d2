#include "ui/DialogOptions.h"

#include "patterns/DataStore.h"

namespace lumivane {

void copyPersistedOptionWords(const DataStore& store, DialogOptions& options) {
    options.noTabMarks = store.noTabMarks != 0;
    options.politeMode = store.politeMode != 0;
    options.warnOnQuit = store.warnOnQuit != 0;
    options.enterKeepsDialog = store.enterKeepsDialog != 0;
}

void copyWorkingOptionWords(const DialogOptions& options, DataStore& store) {
    store.noTabMarks = options.noTabMarks ? 1 : 0;
    store.politeMode = options.politeMode ? 1 : 0;
    store.warnOnQuit = options.warnOnQuit ? 1 : 0;
    store.enterKeepsDialog = options.enterKeepsDialog ? 1 : 0;
}

} // namespace lumivane
