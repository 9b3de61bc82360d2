#include "ui/DialogSettings.h"

#include "patterns/DataStore.h"

namespace lumivane {

void copyPersistedOptionWords(const DataStore& store, DialogSettings& settings) {
    settings.noTabMarks = store.noTabMarks != 0;
    settings.politeMode = store.politeMode != 0;
    settings.warnOnQuit = store.warnOnQuit != 0;
    settings.enterKeepsDialog = store.enterKeepsDialog != 0;
}

void copyWorkingOptionWords(const DialogSettings& settings, DataStore& store) {
    store.noTabMarks = settings.noTabMarks ? 1 : 0;
    store.politeMode = settings.politeMode ? 1 : 0;
    store.warnOnQuit = settings.warnOnQuit ? 1 : 0;
    store.enterKeepsDialog = settings.enterKeepsDialog ? 1 : 0;
}

} // namespace lumivane
