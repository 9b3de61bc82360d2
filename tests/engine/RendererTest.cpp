// Frames of tiny hand-made scenes: outline colours, colour cycling and the
// Changing background, read back from the pixels.
#include "engine/Renderer.h"

#include "GuardedCanvas.h"
#include "engine/ColourTools.h"
#include "engine/Random.h"
#include "engine/Scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>

using namespace lumivane;
using lumivane::testing::GuardedCanvas;

namespace {

constexpr int SIDE = 200;

struct SceneSettings {
    ColourRef background = 0x000000;
    int darkBorders = 0;
    int backgroundMode = BACKGROUND_CONSTANT;
};

// A square Circle image with symmetry 6 and size factor 1 holding one small
// square piece that lies wholly inside the fundamental triangle, so that its
// twelve images neither overlap nor get clipped.
std::unique_ptr<Scene> onePieceScene(const SceneSettings& settings, ColourRef fill, bool border) {
    auto scene = std::make_unique<Scene>();
    scene->setViewport(0, 0, SIDE, SIDE);
    Pattern pattern;
    pattern.screenShape = SCREEN_CIRCLE;
    pattern.symmetry = 6;
    pattern.balance = 50;
    pattern.imageSize = 49;
    pattern.backgroundColour = settings.background;
    pattern.backgroundMode = settings.backgroundMode;
    pattern.darkBorders = settings.darkBorders;
    scene->loadPattern(pattern, true);
    scene->addLayerPieces(Layer{}, 1);
    Piece& piece = scene->pieces()[0];
    piece = Piece{};
    piece.shape = 0;  // Square, 100 units a side around its middle
    piece.size = 0.1; // 10 pixels a side
    piece.x = 60.0;
    piece.y = 15.0;
    piece.colour = fill;
    piece.border = border;
    return scene;
}

// How many pixels of each colour (COLORREF) the frame holds.
std::map<ColourRef, int> colourCounts(const GuardedCanvas& canvas) {
    std::map<ColourRef, int> counts;
    for (std::uint32_t pixel : canvas.pixels()) {
        const std::uint32_t rgb = pixel & PIXEL_COLOUR_MASK;
        ++counts[((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16)];
    }
    return counts;
}

std::set<ColourRef> coloursOf(const std::map<ColourRef, int>& counts) {
    std::set<ColourRef> colours;
    for (const auto& entry : counts)
        colours.insert(entry.first);
    return colours;
}

int countOf(const std::map<ColourRef, int>& counts, ColourRef colour) {
    const auto it = counts.find(colour);
    return it == counts.end() ? 0 : it->second;
}

std::map<ColourRef, int> renderCounts(Scene& scene) {
    GuardedCanvas canvas(SIDE, SIDE, 0);
    scene.renderFrame(canvas.surface(), false);
    return colourCounts(canvas);
}

} // namespace

TEST(RendererOutline, BorderFlagAndDarkBordersChooseThePen) {
    const struct {
        bool border;
        int darkBorders;
        ColourRef fill;
        ColourRef background;
        ColourRef outline;
    } rows[] = {
        {true, 0, 0x2080F0, 0x000000, 0x104078},  // shaded: every channel halved
        {true, 0, 0xFFFFFF, 0x000000, 0x7F7F7F},  // white slot colour
        {true, 0, 0x010101, 0x808080, 0x000000},  // the low bit is dropped
        {true, 1, 0x2080F0, 0x336699, 0x336699},  // dark: the background colour
        {false, 1, 0x2080F0, 0x336699, 0x2080F0}, // no border: invisible outline
        {false, 0, 0x2080F0, 0x000000, 0x2080F0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << std::hex << "fill " << row.fill << " border "
                                          << row.border << " dark " << row.darkBorders);
        auto borderless = onePieceScene({row.background, 0}, row.fill, false);
        const int pieceArea = countOf(renderCounts(*borderless), row.fill);
        ASSERT_GT(pieceArea, 12 * 100);

        auto scene = onePieceScene({row.background, row.darkBorders}, row.fill, row.border);
        const auto counts = renderCounts(*scene);
        EXPECT_EQ(coloursOf(counts), (std::set<ColourRef>{row.background, row.fill, row.outline}));
        const int fillCount = countOf(counts, row.fill);
        if (!row.border) {
            EXPECT_EQ(fillCount, pieceArea);
        } else {
            EXPECT_LT(fillCount, pieceArea - 12 * 30); // twelve outlines of 40 pixels
        }
        if (row.outline != row.fill && row.outline != row.background) {
            EXPECT_EQ(fillCount + countOf(counts, row.outline), pieceArea);
        }
    }
}

TEST(RendererColour, ChangeHueStepsOneAndAHalfDegreesAndRepeatsEvery240Frames) {
    const struct {
        double hue;
        double saturation;
    } rows[] = {{0.0, 100.0}, {100.0, 60.0}, {359.0, 100.0}, {358.5, 75.0}};
    const ColourRef storedColour = 0x123456;
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "hue " << row.hue << " saturation " << row.saturation);
        auto scene = onePieceScene({}, storedColour, false);
        Piece& piece = scene->pieces()[0];
        piece.colourCycling = true;
        piece.hue = row.hue;
        piece.saturation = row.saturation;

        const auto first = renderCounts(*scene);
        const double hue1 = std::fmod(row.hue + 1.5, 360.0);
        EXPECT_EQ(piece.hue, hue1);
        const ColourRef colour1 = ColourTools::hsvToRgb(hue1, row.saturation, 100.0);
        EXPECT_GT(countOf(first, colour1), 12 * 100);
        EXPECT_EQ(countOf(first, storedColour), 0);

        GuardedCanvas canvas(SIDE, SIDE, 0);
        for (int frame = 2; frame <= 121; ++frame)
            scene->renderFrame(canvas.surface(), false);
        EXPECT_EQ(piece.hue, std::fmod(hue1 + 180.0, 360.0));
        for (int frame = 122; frame <= 240; ++frame)
            scene->renderFrame(canvas.surface(), false);
        EXPECT_EQ(piece.hue, row.hue);
        EXPECT_EQ(renderCounts(*scene), first); // frame 241 looks like frame 1
        EXPECT_EQ(piece.colour, storedColour);
    }
}

TEST(RendererBackground, ChangingHueStepsOneDegreeKeepingSaturationAndValue) {
    const struct {
        int mode;
        double step;
    } rows[] = {{BACKGROUND_CHANGING, 1.0}, {BACKGROUND_RANDOM, 0.0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "mode " << row.mode);
        sharedRandom().seed(77);
        // Dark borders with a black piece: the frame holds exactly the current
        // background colour and black, so the border pen must follow the hue.
        auto scene = onePieceScene({0x4080C0, 1, row.mode}, 0x000000, true);
        const double startHue = scene->background().hue;
        const double saturation = scene->background().saturation;
        const double value = scene->background().value;
        ASSERT_GT(value, 0.0);
        for (int frame = 1; frame <= 360; ++frame) {
            GuardedCanvas canvas(SIDE, SIDE, 0);
            scene->renderFrame(canvas.surface(), false);
            const double hue = std::fmod(startHue + row.step * frame, 360.0);
            ASSERT_EQ(scene->background().hue, hue) << "frame " << frame;
            const ColourRef background = ColourTools::hsvToRgb(hue, saturation, value);
            ASSERT_EQ(scene->background().colour, background) << "frame " << frame;
            ASSERT_EQ(canvas.at(0, 0), colourToPixel(background));
            if (frame % 45 == 0) {
                EXPECT_EQ(coloursOf(colourCounts(canvas)),
                          (std::set<ColourRef>{background, 0x000000}))
                    << "frame " << frame;
            }
        }
        EXPECT_EQ(scene->background().hue, startHue);
        EXPECT_EQ(scene->background().saturation, saturation);
        EXPECT_EQ(scene->background().value, value);
    }
}
