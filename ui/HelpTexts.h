// The quick-help texts of the configuration dialogs, one table a dialog, each
// text verbatim with its line breaks and trailing blanks.
#pragma once

#include "patterns/Pattern.h"

#include <QString>

#include <span>

namespace lumivane {

// The text of one control: its template id, or the ids of the same control in
// the layer editor's slots 1, 2 and 3, where "%1" in the text stands for the
// slot's digit.
struct HelpText {
    int ids[SLOTS_PER_LAYER];
    const char* text;
};

extern const std::span<const HelpText> MAIN_DIALOG_HELP;
extern const std::span<const HelpText> LAYER_DIALOG_HELP;
extern const std::span<const HelpText> BANK_DIALOG_HELP;

// The text for the control with template id in table; empty for none.
QString helpTextIn(std::span<const HelpText> table, int id);

} // namespace lumivane
