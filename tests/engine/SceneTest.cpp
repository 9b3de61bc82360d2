#include "engine/Scene.h"
#include "engine/ColourTools.h"
#include "engine/Random.h"
#include "engine/Shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <set>

using namespace lumivane;

namespace {
constexpr double PI = std::numbers::pi;

std::unique_ptr<Scene> sceneOf(int w, int h) {
    auto scene = std::make_unique<Scene>();
    scene->setViewport(0, 0, w, h);
    return scene;
}

Layer slotZeroLayer() {
    Layer layer;
    layer.ratio[0] = 100;
    layer.ratio[1] = 0;
    layer.ratio[2] = 0;
    return layer;
}
} // namespace

TEST(SceneGeometry, ViewportCentreRadiusAndSpawnDisc) {
    auto scene = sceneOf(641, 480);
    EXPECT_EQ(scene->geometry().width, 641);
    EXPECT_EQ(scene->geometry().height, 480);
    EXPECT_EQ(scene->geometry().centreX, 320);
    EXPECT_EQ(scene->geometry().centreY, 240);
    EXPECT_DOUBLE_EQ(scene->geometry().radius, 230.4);
    EXPECT_DOUBLE_EQ(scene->spawnDisc().radius, 320.0);
    EXPECT_DOUBLE_EQ(scene->spawnDisc().centreX, 240.0);
    EXPECT_DOUBLE_EQ(scene->spawnDisc().centreY, 120.0);

    scene->setViewport(10, 20, 5, 0); // inverted: an empty area, not a negative one
    EXPECT_EQ(scene->geometry().width, 0);
    EXPECT_EQ(scene->geometry().height, 0);
    EXPECT_EQ(scene->spawnDisc().radius, 0.0);
}

TEST(SceneGeometry, TiltFromBalance) {
    const double halfSector6 = PI / 6;
    const struct {
        int shape;
        int balance;
        double orientation;
    } rows[] = {
        {SCREEN_CIRCLE, 0, -PI / 2 - halfSector6},
        {SCREEN_OVAL, 50, -PI / 2},
        {SCREEN_CIRCLE, 46, -PI / 2},
        {SCREEN_CIRCLE, 54, -PI / 2},
        {SCREEN_RECTANGLE, 50, 0.0},
        {SCREEN_RECTANGLE, 100, halfSector6},
        {SCREEN_RECTANGLE, 250, halfSector6}, // clamped to 100
        {SCREEN_OVAL, 55, -PI / 2},
        {SCREEN_OVAL, 45, -PI / 2},
        {SCREEN_THREE_MIRROR, 0, PI / 2},
        {17, 50, -PI / 2}, // unknown shape behaves as Circle
    };
    auto scene = sceneOf(640, 480);
    for (const auto& row : rows) {
        Pattern pattern;
        pattern.symmetry = 6;
        pattern.screenShape = row.shape;
        pattern.balance = row.balance;
        scene->loadPattern(pattern, true);
        EXPECT_NEAR(scene->geometry().orientation, row.orientation, 1e-12)
            << "shape " << row.shape << " balance " << row.balance;
    }
}

TEST(SceneGeometry, ThreeMirrorForcesSymmetryThree) {
    auto scene = sceneOf(640, 480);
    Pattern pattern;
    pattern.screenShape = SCREEN_THREE_MIRROR;
    pattern.symmetry = 12;
    pattern.balance = 0;
    scene->loadPattern(pattern, true);
    EXPECT_EQ(scene->geometry().symmetry, 3);
    EXPECT_DOUBLE_EQ(scene->geometry().orientation, PI / 2);
}

TEST(SceneLoad, SettingsOnlyTakesImageSettings) {
    auto scene = sceneOf(640, 480);
    sharedRandom().seed(1);
    scene->loadPattern(Pattern{}, false);
    ASSERT_GT(scene->pieceCount(), 0);

    Pattern pattern;
    pattern.symmetry = 9;
    pattern.screenShape = SCREEN_RECTANGLE;
    pattern.imageSize = 99;
    pattern.animationLevel = 56;
    pattern.backgroundColour = 0x123456;
    pattern.darkBorders = 1;
    EXPECT_EQ(scene->loadPattern(pattern, true), 0);
    EXPECT_EQ(scene->pieceCount(), 0);
    EXPECT_EQ(scene->geometry().symmetry, 9);
    EXPECT_EQ(scene->geometry().shape, SCREEN_RECTANGLE);
    EXPECT_DOUBLE_EQ(scene->geometry().sizeFactor, 2.0);
    EXPECT_NEAR(scene->animationFactor(), 1.0, 1e-12);
    EXPECT_EQ(scene->background().colour, 0x123456u);
    EXPECT_EQ(scene->borderColour(), 0x123456u);
    EXPECT_EQ(scene->darkBorders(), 1);
}

TEST(SceneLoad, RandomBackgroundKeepsSaturationAndValue) {
    auto scene = sceneOf(640, 480);
    Pattern pattern;
    pattern.backgroundMode = BACKGROUND_RANDOM;
    scene->loadPattern(pattern, true); // black stays black
    EXPECT_EQ(scene->background().colour, 0u);

    pattern.backgroundMode = BACKGROUND_CHANGING;
    pattern.backgroundColour = 0x0000FF;
    scene->loadPattern(pattern, true);
    EXPECT_DOUBLE_EQ(scene->background().saturation, 100.0);
    EXPECT_NEAR(scene->background().value, 100.0, 1e-9);
    EXPECT_EQ(scene->background().colour,
              ColourTools::hsvToRgb(scene->background().hue, 100.0, scene->background().value));
    EXPECT_EQ(scene->borderColour(), scene->background().colour);
}

TEST(SceneLoad, PiecesLieInTheSpawnDisc) {
    auto scene = sceneOf(800, 600);
    const double r = scene->spawnDisc().radius;
    const double cx = scene->spawnDisc().centreX;
    const double cy = scene->spawnDisc().centreY;
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        sharedRandom().seed(seed);
        ASSERT_EQ(scene->loadPattern(Pattern{}, false), 150);
        for (const Piece& p : scene->pieces()) {
            ASSERT_LE(std::hypot(p.x - cx, p.y - cy), r + 1e-9);
            ASSERT_EQ(p.x, std::trunc(p.x)); // whole pixels
            ASSERT_GE(p.angle, 0.0);
            ASSERT_LE(p.angle, 2 * PI + 1e-12);
        }
    }
}

TEST(SceneLoad, ReloadGivesNewPiecesOfTheSameNumber) {
    auto scene = sceneOf(640, 480);
    Pattern pattern;
    EXPECT_EQ(scene->loadPattern(pattern, false), 150);
    const Piece first = scene->pieces()[0];
    EXPECT_EQ(scene->loadPattern(pattern, false), 150);
    EXPECT_TRUE(first.x != scene->pieces()[0].x || first.angle != scene->pieces()[0].angle);

    pattern.amount[0] = pattern.amount[1] = pattern.amount[2] = 0;
    EXPECT_EQ(scene->loadPattern(pattern, false), 0);
}

TEST(SceneLoad, SlotRatiosChooseShapes) {
    auto scene = sceneOf(640, 480);
    Layer layer = slotZeroLayer();
    layer.shape[0] = 7;
    scene->addLayerPieces(layer, 100);
    for (const Piece& piece : scene->pieces()) {
        ASSERT_EQ(piece.shape, 7);
    }
    // All ratios 0 (or negative, which counts as 0): every slot still appears.
    layer.ratio[0] = -40;
    layer.shape[1] = 8;
    layer.shape[2] = 9;
    scene->clearPieces();
    EXPECT_EQ(scene->addLayerPieces(layer, 100), 100);
    std::set<int> shapes;
    for (const Piece& piece : scene->pieces()) {
        shapes.insert(piece.shape);
    }
    EXPECT_EQ(shapes, (std::set<int>{7, 8, 9}));
}

TEST(SceneLoad, SizeSliderScalesTheSpawnSize) {
    auto scene = sceneOf(900, 600);
    Layer layer = slotZeroLayer();
    layer.shape[0] = 1; // Star, size unit 2400
    layer.sizeMode[0] = SIZE_CONST;
    const double spawnSize = 600 * 0.2 * 0.333333 / 2400;
    const struct {
        int slider;
        double factor;
    } rows[] = {{50, 1.0}, {0, 1.5}, {100, 0.5}, {-10, 1.5}, {130, 0.5}};
    for (const auto& row : rows) {
        layer.size[0] = row.slider;
        scene->clearPieces();
        scene->addLayerPieces(layer, 1);
        EXPECT_DOUBLE_EQ(scene->pieces()[0].size, spawnSize * row.factor) << row.slider;
    }
}

TEST(SceneLoad, SlotModesSetUpThePieces) {
    sharedRandom().seed(3);
    auto scene = sceneOf(640, 480);
    Layer layer;
    layer.colourMode[0] = COLOUR_CONST;
    layer.colourMode[1] = COLOUR_CHANGE;
    layer.colourMode[2] = 9; // unknown: white
    layer.colour[0] = 0x010203;
    layer.angleMode[0] = ANGLE_CONST;
    layer.angleMode[1] = ANGLE_ROTATE;
    layer.animate[0] = 3;
    layer.animate[1] = 100;
    layer.sizeMode[1] = SIZE_CHANGE;
    layer.border[0] = 0;
    scene->addLayerPieces(layer, 300);
    const double d = 480;
    for (const Piece& p : scene->pieces()) {
        const int slot = p.shape;
        if (slot == 0) {
            EXPECT_EQ(p.colour, 0x010203u);
            EXPECT_FALSE(p.spinning);
            EXPECT_EQ(p.motion.mode(), CURVE_CONSTANT);
            EXPECT_FALSE(p.border);
        } else if (slot == 1) {
            EXPECT_TRUE(p.colourCycling);
            EXPECT_TRUE(p.spinning);
            EXPECT_EQ(p.angleCurve.period(), 1); // a constant rate every frame
            EXPECT_EQ(p.sizeCurve.mode(), CURVE_PULSE);
            EXPECT_GE(p.sizeCurve.period(), 8);
            EXPECT_DOUBLE_EQ(p.sizeCurve.peak(), 3.0 * p.size);
            EXPECT_EQ(p.motion.mode(), CURVE_OSCILLATION);
            EXPECT_DOUBLE_EQ(p.motion.peak(), 100 * d * 2 / 3 * 0.0005);
        } else {
            EXPECT_EQ(p.colour, 0xFEFEFEu);
            EXPECT_FALSE(p.colourCycling);
        }
    }
}

TEST(SceneLoad, VarySlotsShareOneColourPerSpawn) {
    auto scene = sceneOf(640, 480);
    Layer layer;
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        layer.colourMode[i] = COLOUR_VARY;
    }
    scene->addLayerPieces(layer, 50);
    for (int i = 1; i < scene->pieceCount(); ++i) {
        ASSERT_EQ(scene->pieces()[i].colour, scene->pieces()[0].colour);
    }
}

TEST(SceneMotion, RotateStepAndClamping) {
    const struct {
        int rotation;
        double step;
    } rows[] = {{0, 0.002}, {50, 0.01}, {100, 0.05}, {-20, 0.002}, {250, 0.05}};
    auto scene = sceneOf(640, 480);
    scene->addLayerPieces(slotZeroLayer(), 1);
    Piece& piece = scene->pieces()[0];
    for (const auto& row : rows) {
        piece.x = scene->spawnDisc().centreX + 100;
        piece.y = scene->spawnDisc().centreY;
        piece.angle = 1.0;
        scene->rotate(row.rotation);
        EXPECT_NEAR(piece.angle - 1.0, row.step, 1e-12) << row.rotation;
        EXPECT_NEAR(piece.x, scene->spawnDisc().centreX + 100 * std::cos(row.step), 1e-9);
        EXPECT_NEAR(piece.y, scene->spawnDisc().centreY + 100 * std::sin(row.step), 1e-9);
    }
}

TEST(SceneMotion, SpinningAngleWrapsOnlyInRotate) {
    auto scene = sceneOf(640, 480);
    scene->addLayerPieces(slotZeroLayer(), 1);
    Piece& piece = scene->pieces()[0];
    piece.angleCurve.setPulse(1, 0, 0, 0.0, 1.0);
    piece.spinning = true;
    piece.angle = 0.0;
    for (int frame = 0; frame < 40; ++frame) {
        scene->updatePiece(piece);
    }
    EXPECT_DOUBLE_EQ(piece.angle, 40.0);
    scene->rotate(0);
    EXPECT_NEAR(piece.angle, 40.002 - 10 * PI, 1e-9);
}

TEST(SceneRobustness, DamagedSettingsAreSanitised) {
    auto scene = sceneOf(640, 480);
    Pattern pattern;
    pattern.symmetry = -4;
    pattern.screenShape = 42;
    pattern.amount[0] = 500;
    pattern.amount[1] = 500;
    pattern.amount[2] = -3;
    pattern.layers[0].shape[0] = pattern.layers[0].shape[1] = pattern.layers[0].shape[2] = 5000;
    // Amounts are held to 0..100 per layer; the pool bound holds for any count.
    EXPECT_EQ(scene->loadPattern(pattern, false), 200);
    EXPECT_EQ(scene->geometry().symmetry, 3);
    EXPECT_EQ(scene->geometry().shape, SCREEN_CIRCLE);
    EXPECT_DOUBLE_EQ(scene->pieces()[0].size, 480 * 0.2 * 0.333333 / FALLBACK_SIZE_UNIT);
    EXPECT_EQ(scene->addLayerPieces(Layer{}, 1000), MAX_PIECES - 200);
    EXPECT_EQ(scene->pieceCount(), MAX_PIECES);
    EXPECT_EQ(scene->addLayerPieces(Layer{}, 10), 0);

    pattern.symmetry = 1000;
    scene->loadPattern(pattern, true);
    EXPECT_EQ(scene->geometry().symmetry, 20);
}

TEST(SceneRobustness, TinyAreaSpawnsAtTheSpawnCentre) {
    for (int side : {0, 1}) {
        auto scene = sceneOf(side, 300);
        EXPECT_EQ(scene->loadPattern(Pattern{}, false), 150);
        for (const Piece& piece : scene->pieces()) {
            ASSERT_EQ(piece.x, std::trunc(scene->spawnDisc().centreX));
            ASSERT_EQ(piece.y, std::trunc(scene->spawnDisc().centreY));
        }
        for (int frame = 0; frame < 100; ++frame) {
            scene->rotate(50);
            for (Piece& piece : scene->pieces()) {
                scene->updatePiece(piece);
            }
        }
    }
}

// Every byte of the pattern random: loading and thousands of frames must stay
// inside the tables (run under the sanitizer build to make this meaningful).
TEST(SceneRobustness, RandomBytePatternsRun) {
    auto scene = sceneOf(320, 200);
    RandomSource bytes;
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
        bytes.seed(seed);
        unsigned char raw[sizeof(Pattern)];
        for (unsigned char& b : raw) {
            b = static_cast<unsigned char>(bytes.draw());
        }
        Pattern pattern;
        std::memcpy(&pattern, raw, sizeof pattern);
        const int spawned = scene->loadPattern(pattern, false);
        ASSERT_GE(spawned, 0);
        ASSERT_LE(spawned, MAX_PIECES);
        ASSERT_GE(scene->geometry().symmetry, 3);
        ASSERT_LE(scene->geometry().symmetry, 20);
        for (int frame = 0; frame < 200; ++frame) {
            scene->rotate(pattern.rotation);
            for (Piece& piece : scene->pieces()) {
                scene->updatePiece(piece);
            }
        }
        for (const Piece& piece : scene->pieces()) {
            ASSERT_TRUE(std::isfinite(piece.x));
            ASSERT_LE(std::abs(piece.angle), 11 * PI);
        }
    }
}
