#include "patterns/Windows1252.h"

#include <gtest/gtest.h>

using namespace lumivane;

TEST(Windows1252, EveryByteRoundTripsThroughText) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const std::optional<std::string> back = utf8ToWindows1252(windows1252ToUtf8(all));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, all);
}

TEST(Windows1252, DecodesTheCodePagesOwnLetters) {
    struct Case {
        std::uint8_t byte;
        char32_t codePoint;
    };
    for (const Case c :
         {Case{'A', U'A'}, Case{0x80, U'€'}, Case{0x81, 0x81}, Case{0x8D, 0x8D}, Case{0x8F, 0x8F},
          Case{0x90, 0x90}, Case{0x9D, 0x9D}, Case{0x91, U'‘'}, Case{0x94, U'”'}, Case{0x9F, U'Ÿ'},
          Case{0xA0, 0xA0}, Case{0xE9, U'é'}, Case{0xFF, U'ÿ'}}) {
        EXPECT_EQ(windows1252CodePoint(c.byte), c.codePoint) << int(c.byte);
        EXPECT_EQ(windows1252Byte(c.codePoint), c.byte) << int(c.byte);
    }
    EXPECT_EQ(windows1252ToUtf8("Caf\xE9 \x80"), "Café €");
}

TEST(Windows1252, RefusesWhatTheCodePageCannotHold) {
    for (const char* text : {"日本", "\xF0\x9F\x98\x80", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\x80",
                             "\xC2\x80"}) // U+0080 is not one of the five kept controls
        EXPECT_FALSE(utf8ToWindows1252(text)) << text;
    EXPECT_EQ(utf8ToWindows1252("é€"), "\xE9\x80");
}
