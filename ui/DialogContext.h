// What the configuration dialogs work with: the options, the pattern store, the
// two shared scenes, the modal runner, and the profile's pattern-bank folder.
#pragma once

#include "ui/DialogOptions.h"
#include "view/DisplayOptions.h"

#include <QString>

#include <functional>

namespace lumivane {

class DataStore;
class ModalRunner;
class Scene;

struct DialogContext {
    DialogOptions* options = nullptr;
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

    ViewEnvironment viewEnvironment() const { return {options, store, editorScene}; }
};

} // namespace lumivane
