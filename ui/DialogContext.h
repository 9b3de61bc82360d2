// What the configuration dialogs work with: their settings and the display
// settings (which the preferences edit too), the pattern store, the two shared
// scenes, the modal runner, and the profile's pattern-bank folder.
#pragma once

#include "ui/DialogSettings.h"
#include "view/DisplaySettings.h"
#include "view/ViewEnvironment.h"

#include <QString>

#include <functional>

namespace lumivane {

class DataStore;
class ModalRunner;
class Scene;

struct DialogContext {
    DialogSettings* settings = nullptr;
    DisplaySettings* display = nullptr;
    DataStore* store = nullptr;
    Scene* mainScene = nullptr;
    Scene* editorScene = nullptr;
    ModalRunner* runner = nullptr;
    // Title of the message boxes that have none of their own: the program's
    // file name.
    QString applicationName;
    // Start folder of the pattern-bank file dialogs (ending in '/'), and where
    // the folder of an accepted choice is kept.
    std::function<QString()> patternPath;
    std::function<void(const QString&)> setPatternPath;

    ViewEnvironment viewEnvironment() const { return {display, store, editorScene}; }
};

} // namespace lumivane
