#include "app/PatternJsonNames.h"

#include "engine/Shapes.h"

#include <cstdio>

namespace lumivane {

const std::vector<const char*>& shapeNames() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> list;
        for (int i = 0; i < SHAPE_COUNT; ++i)
            list.push_back(shapeLibrary().entry(i)->name);
        return list;
    }();
    return names;
}

std::string quoted(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        char escape[8];
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            out += escape;
        } else if (byte == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
            // C1 controls (the code page's undefined bytes) are shown escaped.
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned char>(utf8[++i]));
            out += escape;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out + '"';
}

} // namespace lumivane
