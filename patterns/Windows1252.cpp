#include "Windows1252.h"

#include <array>

namespace lumivane {
namespace {

// 0x80..0x9F are the code page's own; every other byte is its Latin-1 value.
constexpr char32_t HIGH_CONTROLS[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

constexpr std::array<char32_t, 256> makeTable() {
    std::array<char32_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte)
        table[byte] = byte >= 0x80 && byte < 0xA0 ? HIGH_CONTROLS[byte - 0x80] : byte;
    return table;
}

constexpr std::array<char32_t, 256> TABLE = makeTable();

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next code point of UTF-8 text at position, advancing it; nothing for a
// malformed, overlong or surrogate sequence.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<std::uint8_t>(text[position++]);
    if (lead < 0x80)
        return lead;
    int more = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    for (int i = 0; i < more; ++i) {
        if (position >= text.size())
            return std::nullopt;
        const auto next = static_cast<std::uint8_t>(text[position++]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = c << 6 | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return c;
}

} // namespace

char32_t windows1252CodePoint(std::uint8_t byte) {
    return TABLE[byte];
}

std::optional<std::uint8_t> windows1252Byte(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<std::uint8_t>(codePoint);
    for (unsigned byte = 0x80; byte < 0xA0; ++byte) {
        if (TABLE[byte] == codePoint)
            return static_cast<std::uint8_t>(byte);
    }
    return std::nullopt;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes)
        appendUtf8(out, TABLE[static_cast<std::uint8_t>(byte)]);
    return out;
}

std::optional<std::string> utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const std::optional<char32_t> c = nextCodePoint(text, position);
        if (!c)
            return std::nullopt;
        const std::optional<std::uint8_t> byte = windows1252Byte(*c);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
    }
    return out;
}

} // namespace lumivane
