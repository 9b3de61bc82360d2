#include "engine/ColourTools.h"
#include "engine/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

using namespace lumivane;

namespace {
int channel(ColourRef c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}
int maxChannel(ColourRef c) {
    return std::max({channel(c, 0), channel(c, 8), channel(c, 16)});
}
int minChannel(ColourRef c) {
    return std::min({channel(c, 0), channel(c, 8), channel(c, 16)});
}
} // namespace

TEST(ColourTools, HsvToRgbAroundTheWheel) {
    const struct {
        double hue;
        ColourRef rgb;
    } rows[] = {{0, 0x0000FE},   {30, 0x007FFE},  {60, 0x00FEFE},  {120, 0x00FE00},
                {180, 0xFEFE00}, {240, 0xFE0000}, {300, 0xFE00FE}, {360, 0x0000FE}};
    for (const auto& row : rows) {
        EXPECT_EQ(ColourTools::hsvToRgb(row.hue, 100, 100), row.rgb) << "hue " << row.hue;
    }
}

TEST(ColourTools, HsvToRgbGreysAndBlack) {
    for (double hue : {0.0, 45.0, 120.0, 200.0, 359.0}) {
        EXPECT_EQ(ColourTools::hsvToRgb(hue, 0, 100), 0xFEFEFEu) << hue;
        EXPECT_EQ(ColourTools::hsvToRgb(hue, 70, 0), 0u) << hue;
    }
    EXPECT_EQ(ColourTools::hsvToRgb(0, 0, 50), 0x7F7F7Fu);
}

TEST(ColourTools, HsvToRgbKeepsOutOfRangeChannelsInTheirByte) {
    EXPECT_EQ(ColourTools::hsvToRgb(0, 100, 200), 0x0000FFu);
    EXPECT_EQ(ColourTools::hsvToRgb(0, 100, -50), 0u);
    EXPECT_EQ(ColourTools::hsvToRgb(0, 300, 100) & 0xFF000000u, 0u);
}

TEST(ColourTools, ValueAndSaturation) {
    EXPECT_NEAR(ColourTools::colourValue(0x000080), 128 * 100.0 / 255, 1e-9);
    EXPECT_NEAR(ColourTools::colourValue(0xFFFFFF), 100.0, 1e-9);
    EXPECT_EQ(ColourTools::colourValue(0), 0.0);
    EXPECT_EQ(ColourTools::colourSaturation(0x808080), 0.0);
    EXPECT_EQ(ColourTools::colourSaturation(0x0000FF), 100.0);
    EXPECT_EQ(ColourTools::colourSaturation(0), 0.0);
    // Intensity model: min 0x40 of sum 0x80+0x40+0x40 gives 100 x (1 - 3 x 64/256).
    EXPECT_DOUBLE_EQ(ColourTools::colourSaturation(0x404080), 25.0);
}

TEST(ColourTools, RandomisePatternKeepsOtherFields) {
    sharedRandom().seed(5);
    Pattern pattern;
    pattern.resetTime = 17;
    pattern.rotation = 3;
    pattern.speed = 44;
    pattern.imageSize = 91;
    pattern.balance = 12;
    pattern.animationLevel = 66;
    pattern.screenShape = SCREEN_RECTANGLE;
    pattern.setNameText("Keep Me ");
    pattern.darkBorders = 1;
    pattern.backgroundMode = BACKGROUND_CHANGING;
    Pattern before = pattern;
    ColourTools::randomisePattern(pattern);
    std::memcpy(before.layers, pattern.layers, sizeof before.layers);
    std::memcpy(before.amount, pattern.amount, sizeof before.amount);
    before.backgroundColour = pattern.backgroundColour;
    before.symmetry = pattern.symmetry;
    EXPECT_EQ(pattern, before);
}

TEST(ColourTools, RandomPatternsStayInRange) {
    std::set<int> symmetries;
    int blackBackgrounds = 0;
    for (std::uint32_t seed = 0; seed < 2000; ++seed) {
        sharedRandom().seed(seed);
        Pattern pattern;
        ColourTools::randomisePattern(pattern);
        symmetries.insert(pattern.symmetry);
        const int sum = pattern.amount[0] + pattern.amount[1] + pattern.amount[2];
        ASSERT_GE(sum, 100);
        ASSERT_LE(sum, 200);
        ASSERT_LE(maxChannel(pattern.backgroundColour), 63);
        ASSERT_EQ(pattern.backgroundColour >> 24, 0u);
        blackBackgrounds += pattern.backgroundColour == 0;
        for (const Layer& layer : pattern.layers) {
            for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
                ASSERT_TRUE(layer.shape[i] >= 0 && layer.shape[i] <= 23);
                ASSERT_TRUE(layer.angleMode[i] >= 0 && layer.angleMode[i] <= 2);
                ASSERT_TRUE(layer.colourMode[i] >= 0 && layer.colourMode[i] <= 3);
                ASSERT_TRUE(layer.sizeMode[i] >= 0 && layer.sizeMode[i] <= 2);
                ASSERT_TRUE(layer.animate[i] >= 0 && layer.animate[i] <= 99);
                ASSERT_TRUE(layer.size[i] >= 0 && layer.size[i] <= 100);
                ASSERT_TRUE(layer.ratio[i] >= 0 && layer.ratio[i] <= 100);
                ASSERT_LE(layer.border[i], 1);
                const ColourRef c = layer.colour[i];
                ASSERT_GE(ColourTools::colourValue(c), 25.0);
                ASSERT_GE(100.0 * (maxChannel(c) - minChannel(c)) / maxChannel(c), 24.0);
            }
        }
    }
    EXPECT_EQ(symmetries, (std::set<int>{3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_GT(blackBackgrounds, 800);
    EXPECT_LT(blackBackgrounds, 1200);
}
