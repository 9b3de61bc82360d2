// Pattern names are stored as bytes of the Windows-1252 code page, so that
// files exchanged with Windows users keep their accented letters. These two
// functions are the only way the program turns names into text and back.
//
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 controls of the same value, so every byte string survives a
// round trip through text unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

// The code point of one Windows-1252 byte.
char32_t windows1252CodePoint(std::uint8_t byte);

// The byte for a code point, or nothing when the code page cannot hold it.
std::optional<std::uint8_t> windows1252Byte(char32_t codePoint);

// Windows-1252 bytes as UTF-8 text.
std::string windows1252ToUtf8(std::string_view bytes);

// UTF-8 text as Windows-1252 bytes; nothing when the text is not valid UTF-8
// or holds a character the code page cannot hold.
std::optional<std::string> utf8ToWindows1252(std::string_view text);

} // namespace lumivane
