#include "ui/NameText.h"

#include "patterns/Windows1252.h"

namespace lumivane {

QString nameText(const Pattern& pattern) {
    return QString::fromStdString(windows1252ToUtf8(pattern.nameText()));
}

std::optional<std::string> nameBytes(const QString& text) {
    return utf8ToWindows1252(text.toStdString());
}

} // namespace lumivane
