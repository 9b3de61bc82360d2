// The process-wide objects a kaleidoscope view reads.
#pragma once

#include <functional>

namespace lumivane {

class DataStore;
class DisplayPowerWatch;
class Scene;
struct DisplaySettings;

// The display settings, the pattern store and the layer editor's scene (whose
// previews never switch patterns on reset).
struct ViewEnvironment {
    const DisplaySettings* display = nullptr;
    DataStore* store = nullptr;
    const Scene* editorScene = nullptr;
    // Whether the display is powered; nullptr for the process's own (DisplayPowerWatch::shared).
    DisplayPowerWatch* power = nullptr;
    // Opens the program's help (F1); F1 does nothing without it.
    std::function<void()> openHelp = nullptr;
};

} // namespace lumivane
