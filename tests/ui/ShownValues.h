// What the dialogs' controls show, read from the widgets the way a user reads
// the screen, to be compared with what the dialogs hold.
#pragma once

#include "patterns/Pattern.h"

#include <QStringList>

#include <optional>
#include <string>

class QComboBox;
class QWidget;

namespace lumivane {
class ConfigDialog;
class LayerDialog;
} // namespace lumivane

namespace lumivane::test {

// The configuration dialog's working pattern with every field that has a
// control replaced by what that control shows; nothing while the reset time
// box holds no whole number 1..1000000 (the dialog then keeps its pattern).
std::optional<Pattern> shownPattern(const ConfigDialog& dialog);
// The value of the checked button among the radio buttons ids (-1: none).
int shownChoice(const QWidget* dialog, std::initializer_list<int> ids);
// The layer editor's layer as its controls show it.
Layer shownLayer(const LayerDialog& dialog);
QStringList entriesOf(const QComboBox* list);

// Where the question-mark cursor shows over a dialog and its controls.
enum class HelpCursor { Everywhere, Nowhere, Partly };
HelpCursor helpCursorOver(const QWidget* dialog);

// The fields with a control, as text for comparisons that show what differs.
std::string describe(const Pattern& pattern);
std::string describe(const Layer& layer);

} // namespace lumivane::test
