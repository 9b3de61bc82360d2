#include "app/JsonChecker.h"

#include "engine/Shapes.h"
#include "patterns/Windows1252.h"

#include <QJsonDocument>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

namespace lumivane {
namespace {

// JSON text escapes the C0 controls only; DEL and the C1 controls (U+0080 to
// U+009F) are escaped here too, so that no value can act on a terminal.
std::string withoutRawControls(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool c1 =
            byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (byte != 0x7F && !c1) {
            out += utf8[i];
            continue;
        }
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04X",
                      c1 ? static_cast<unsigned char>(utf8[++i]) : byte);
        out += escape;
    }
    return out;
}

} // namespace

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

std::string JsonChecker::shown(const QJsonValue& value) {
    if (value.isUndefined())
        return "nothing";
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    std::string inner = withoutRawControls(text.mid(1, text.size() - 2).toStdString());
    if (inner.size() > 80) {
        std::size_t cut = 77;
        while (cut > 0 && (static_cast<unsigned char>(inner[cut]) & 0xC0) == 0x80)
            --cut; // never inside a UTF-8 sequence
        inner = inner.substr(0, cut) + "...";
    }
    return inner;
}

std::string JsonChecker::alternatives(NameTable names) {
    std::string out;
    for (int i = 0; i < names.count(); ++i)
        out += (i == 0 ? "" : i + 1 == names.count() ? " or " : ", ") + quoted(names.name(i));
    return out;
}

void JsonChecker::fail(const std::string& field, const std::string& problem) {
    std::string line = where_;
    for (const std::string& part : {field, problem})
        if (!part.empty())
            line += (line.empty() ? "" : ": ") + part;
    problems_.push_back(line);
}

bool JsonChecker::whole(const std::string& field, const QJsonValue& v, double lo, double hi,
                        std::int64_t& out) {
    const double d = v.toDouble();
    if (!v.isDouble() || d != std::floor(d) || d < lo || d > hi) {
        char range[64];
        std::snprintf(range, sizeof range, "a whole number from %.0f to %.0f", lo, hi);
        fail(field, shown(v) + " is not " + range);
        return false;
    }
    out = static_cast<std::int64_t>(d);
    return true;
}

void JsonChecker::int32(const std::string& field, const QJsonValue& v, std::int32_t& out) {
    std::int64_t n = 0;
    if (whole(field, v, std::numeric_limits<std::int32_t>::min(),
              std::numeric_limits<std::int32_t>::max(), n))
        out = static_cast<std::int32_t>(n);
}

void JsonChecker::byte(const std::string& field, const QJsonValue& v, std::uint8_t& out) {
    std::int64_t n = 0;
    if (whole(field, v, 0, 255, n))
        out = static_cast<std::uint8_t>(n);
}

void JsonChecker::enumeration(const std::string& field, const QJsonValue& v, NameTable names,
                              std::int32_t& out) {
    if (!v.isString()) {
        if (v.isDouble())
            int32(field, v, out);
        else
            fail(field, shown(v) + " is not " + alternatives(names) + " (or a number)");
        return;
    }
    if (const std::optional<int> value = names.value(v.toString().toStdString()))
        out = *value;
    else
        fail(field, shown(v) + " is not " + alternatives(names));
}

void JsonChecker::shape(const std::string& field, const QJsonValue& v, std::int32_t& out) {
    if (v.isString() || v.isDouble()) {
        enumeration(field, v, shapeNames(), out);
        return;
    }
    fail(field, shown(v) + " is not a shape name (or a number)");
}

void JsonChecker::colour(const std::string& field, const QJsonValue& v, ColourRef& out) {
    if (v.isDouble()) {
        std::int64_t n = 0;
        if (whole(field, v, 0, 0xFFFFFFFF, n))
            out = static_cast<ColourRef>(n);
        return;
    }
    const std::string text = v.toString().toStdString();
    const bool hex = text.size() == 7 && text[0] == '#' &&
                     std::all_of(text.begin() + 1, text.end(), [](char ch) {
                         return std::isxdigit(static_cast<unsigned char>(ch));
                     });
    if (!v.isString() || !hex) {
        fail(field, shown(v) + " is not a colour \"#RRGGBB\" (or a number)");
        return;
    }
    const auto rgb = static_cast<ColourRef>(std::stoul(text.substr(1), nullptr, 16));
    out = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

void JsonChecker::name(const QJsonValue& v, Pattern& p) {
    if (!v.isString()) {
        fail("name", shown(v) + " is not text");
        return;
    }
    const std::string text = v.toString().toStdString();
    const std::optional<std::string> bytes = utf8ToWindows1252(text);
    if (!bytes) {
        fail("name", shown(v) + " holds a character that Windows-1252 cannot hold");
    } else if (bytes->find('\0') != std::string::npos) {
        fail("name", shown(v) + " holds a NUL character");
    } else if (bytes->size() > PATTERN_NAME_BYTES) {
        fail("name", shown(v) + " is " + std::to_string(bytes->size()) +
                         " bytes long; a name holds at most " + std::to_string(PATTERN_NAME_BYTES));
    } else {
        // A name may fill the whole field, without a NUL, as in files from elsewhere.
        std::memset(p.name, 0, sizeof p.name);
        std::memcpy(p.name, bytes->data(), bytes->size());
    }
}

} // namespace lumivane
