// What a kaleidoscope view needs to know about the program's settings and
// shared objects. The application's Options record extends DisplayOptions.
#pragma once

#include <QFont>

#include <functional>
#include <optional>
#include <string>

namespace lumivane {

class DataStore;
class DisplayPowerWatch;
class Scene;

struct DisplayOptions {
    bool fullScreen = false;       // set once by the full-screen run mode
    bool showPatternName = false;  // name overlay in full screen
    bool antiAlias = true;         // anti-aliased edges in full screen
    bool hardEdges = false;        // no anti-aliasing anywhere, for this run ("--no-antialias")
    std::optional<QFont> nameFont; // overlay font, made in full-screen mode when the overlay is on
    // A preview started as a screen-saver hack with --root: without a host
    // window of its own it draws on the root window.
    bool previewOnRoot = false;
    // Where the preview's window id came from, for the message when it names
    // no window: "the argument" (/p ID) or "--window-id".
    std::string previewHandleOrigin = "the argument";
};

// The process-wide objects a view reads: the options, the pattern store and
// the layer editor's scene (whose previews never switch patterns on reset).
struct ViewEnvironment {
    DisplayOptions* options = nullptr;
    DataStore* store = nullptr;
    const Scene* editorScene = nullptr;
    // Whether the display is powered; nullptr for the process's own (DisplayPowerWatch::shared).
    DisplayPowerWatch* power = nullptr;
    // Opens the program's help (F1); F1 does nothing without it.
    std::function<void()> openHelp = nullptr;
};

} // namespace lumivane
