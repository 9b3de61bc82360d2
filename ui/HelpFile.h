// The help the dialogs' "Help" button and F1 open (and F1 in the saver's
// windows, through ViewEnvironment::openHelp): "Lumivane.hlp" in the current
// folder when there is one there, otherwise the manual.
#pragma once

#include <QString>

namespace lumivane {

// The file to open, or an empty text when there is none. The manual is looked
// for beside the program (../share/doc/lumivane/, where the build folder keeps
// a copy too) and then under $XDG_DATA_DIRS.
QString helpFilePath();

// Opens helpFilePath() with the desktop's handler; nothing when there is none.
void openHelpFile();

} // namespace lumivane
