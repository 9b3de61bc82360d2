// The settings a kaleidoscope view reads: how full-screen frames are drawn and
// whether the pattern's name is written over them. The application's Options
// hold one record of them.
#pragma once

#include <QFont>

#include <optional>

namespace lumivane {

struct DisplaySettings {
    bool fullScreen = false;       // set once by the full-screen run mode
    bool showPatternName = false;  // name overlay in full screen
    bool antiAlias = true;         // anti-aliased edges in full screen
    bool hardEdges = false;        // no anti-aliasing anywhere, for this run ("--no-antialias")
    std::optional<QFont> nameFont; // overlay font, made in full-screen mode when the overlay is on
};

} // namespace lumivane
