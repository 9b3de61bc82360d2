#include "patterns/Pattern.h"
#include "patterns/Archive.h"
#include "patterns/PatternCodec.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace lumivane;

namespace {

std::vector<std::uint8_t> encode(const Pattern& p) {
    Archive a = Archive::forStoring();
    writePattern(a, p);
    return a.bytes();
}

std::uint32_t wordAt(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return b[offset] | b[offset + 1] << 8 | b[offset + 2] << 16 |
           std::uint32_t(b[offset + 3]) << 24;
}

} // namespace

TEST(Pattern, DefaultsDescribeTheStandardImage) {
    const Pattern p;
    EXPECT_EQ(p.symmetry, 6);
    EXPECT_EQ(p.resetTime, 50);
    EXPECT_EQ(p.speed, 100);
    for (int v : {p.rotation, p.imageSize, p.balance, p.animationLevel, p.amount[0], p.amount[1],
                  p.amount[2]})
        EXPECT_EQ(v, 50);
    EXPECT_EQ(p.backgroundColour, 0u);
    EXPECT_EQ(p.backgroundMode, BACKGROUND_CONSTANT);
    EXPECT_EQ(p.screenShape, SCREEN_OVAL);
    EXPECT_EQ(p.darkBorders, 0);
    EXPECT_EQ(p.nameText(), "No Data");
    for (const Layer& layer : p.layers) {
        EXPECT_EQ(layer, Layer{});
        EXPECT_EQ(layer.shape[2], 2);
        EXPECT_EQ(layer.colour[1], 0x00FFFFu);
        EXPECT_EQ(layer.angleMode[0], ANGLE_TWIRL);
        EXPECT_EQ(layer.border[2], 1);
    }
}

TEST(Pattern, MakeEmptyClearsAmountsAndBackgroundOnly) {
    Pattern p;
    p.backgroundColour = 0x123456;
    p.layers[1].shape[0] = 9;
    Pattern before = p;
    p.makeEmpty();
    EXPECT_EQ(p.amount[0] + p.amount[1] + p.amount[2], 0);
    EXPECT_EQ(p.backgroundColour, 0u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(p.layers[i], before.layers[i]);
    EXPECT_EQ(p.symmetry, before.symmetry);
}

TEST(PatternCodec, WritesLittleEndianFieldsAtTheirOffsets) {
    Pattern p;
    p.symmetry = 0x01020304;
    p.backgroundColour = 0x00C0FFEE;
    p.layers[2].colour[1] = 0x00ABCDEF;
    p.layers[1].border[2] = 0;
    p.screenShape = SCREEN_THREE_MIRROR;
    p.darkBorders = 1;
    p.backgroundMode = BACKGROUND_CHANGING;
    const auto b = encode(p);
    ASSERT_EQ(b.size(), PATTERN_BYTES);
    EXPECT_EQ(b[0], 0x04);
    EXPECT_EQ(b[3], 0x01);
    EXPECT_EQ(wordAt(b, 40), 0x00C0FFEEu);
    EXPECT_EQ(wordAt(b, 244 + 60 + 4), 0x00ABCDEFu);
    EXPECT_EQ(b[144 + 96 + 2], 0);
    EXPECT_EQ(b[144 + 96 + 1], 1);
    EXPECT_EQ(wordAt(b, 344), 3u);
    EXPECT_EQ(std::memcmp(&b[348], "No Data\0", 8), 0);
    EXPECT_EQ(wordAt(b, 372), 1u);
    EXPECT_EQ(wordAt(b, 376), 2u);
}

TEST(PatternCodec, ZeroesBytesAfterTheNameAndThePadding) {
    Pattern p;
    std::memset(p.name, 'x', sizeof p.name);
    std::memcpy(p.name, "Spiral \0", 8);
    p.layers[0].padding = 0x5A;
    const auto b = encode(p);
    for (std::size_t i = 348 + 7; i < 372; ++i)
        EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(b[44 + 99], 0);
}

TEST(PatternCodec, NameOfTwentyCharactersKeepsItsSpaceAndNul) {
    Pattern p;
    p.setNameText("ABCDEFGHIJKLMNOPQRST ");
    EXPECT_EQ(p.nameText().size(), 21u);
    const auto b = encode(p);
    EXPECT_EQ(b[348 + 20], ' ');
    EXPECT_EQ(b[348 + 21], 0);
}

TEST(PatternCodec, RoundTripReproducesEveryByte) {
    Pattern p;
    for (int i = 0; i < 3; ++i) {
        p.layers[i].shape[i] = 20 + i;
        p.layers[i].colour[2] = 0x010203u * (i + 1);
        p.layers[i].border[1] = static_cast<std::uint8_t>(i & 1);
    }
    p.amount[1] = -7; // values are kept as read, even out of range
    p.setNameText("Round trip ");
    const auto bytes = encode(p);
    Archive in = Archive::forLoading(bytes);
    Pattern q;
    q.symmetry = 99;
    readPattern(in, q, PATTERN_BYTES);
    EXPECT_EQ(q, p);
    EXPECT_EQ(encode(q), bytes);
}
