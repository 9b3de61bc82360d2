// The help the dialogs' "Help" button and F1 open: "Lumivane.hlp" in the
// current folder when there is one there, otherwise the manual.
#pragma once

#include <QString>

namespace lumivane {

// The file to open, or an empty text when there is none. The manual is looked
// for beside the installed program (../share/doc/lumivane/), under
// $XDG_DATA_DIRS, and last in the source tree the program was built from.
QString helpFilePath();

// Opens helpFilePath() with the desktop's handler; nothing when there is none.
void openHelpFile();

} // namespace lumivane
