// Pattern names as the dialogs show and take them: the name field's bytes are
// Windows-1252 (patterns/Windows1252.h), the widgets speak Unicode.
#pragma once

#include "patterns/Pattern.h"

#include <QString>

#include <optional>
#include <string>

namespace lumivane {

// The pattern's name up to its NUL, trailing space kept.
QString nameText(const Pattern& pattern);

// The Windows-1252 bytes of text, or nothing when the code page cannot hold it.
std::optional<std::string> nameBytes(const QString& text);

} // namespace lumivane
