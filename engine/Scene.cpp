#include "engine/Scene.h"

#include "engine/ColourTools.h"
#include "engine/Random.h"
#include "engine/Shapes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace lumivane {
namespace {

constexpr double PI = std::numbers::pi;
constexpr double ANGLE_WRAP = 10.0 * PI;
constexpr double ROTATE_RATE_PER_DRAW = 5.086418245999532e-6; // draw / 32767 / 6
constexpr double TWIRL_PER_DRAW = 1.5259254737998596e-05;     // draw / 32767 / 2
constexpr double WOBBLE_PER_ANIMATE = 0.0005;
constexpr double TILT_PER_STEP = 0.022222222222222223;       // 1/45
constexpr double ANIMATION_PER_LEVEL = 0.017857142857142856; // 1/56
// Rejection sampling of the spawn disc accepts about 78% of tries; after this
// many misses (only possible for absurdly large areas) the piece goes to the centre.
constexpr int MAX_SPAWN_TRIES = 64;
const ColourRef SPAWN_COLOUR = ColourTools::hsvToRgb(30.0, 100.0, 100.0);
const ColourRef WHITE = ColourTools::hsvToRgb(0.0, 0.0, 100.0);

int clampPercent(int value) {
    return std::clamp(value, 0, 100);
}

// Saturation of Mix and Change colours: full half of the time, else 50..99.
double mixSaturation() {
    return coinFlip() ? 100.0 : drawMod(50) + 50.0;
}

// The one random colour shared by a layer's Vary slots.
ColourRef drawLayerColour() {
    const double hue = drawMod(360);
    const double saturation = coinFlip() ? drawMod(50) + 50.0 : 100.0;
    const double value = coinFlip() ? drawMod(75) + 25.0 : 100.0;
    return ColourTools::hsvToRgb(hue, saturation, value);
}

bool isKnownScreenShape(std::int32_t shape) {
    return shape >= SCREEN_CIRCLE && shape <= SCREEN_THREE_MIRROR;
}

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

Scene::Scene() {
    shapeLibrary(); // built now so that no later call pays for it
}

void Scene::setAnimationFactor(int animationLevel) {
    animationFactor_ = 2.0 - clampPercent(animationLevel) * ANIMATION_PER_LEVEL;
}

void Scene::setViewport(int left, int top, int right, int bottom) {
    ImageGeometry& g = geometry_;
    g.width = clampToInt32(std::int64_t{right} - left);
    g.height = clampToInt32(std::int64_t{bottom} - top);
    g.centreX = static_cast<std::int32_t>(std::int64_t{left} + g.width / 2);
    g.centreY = static_cast<std::int32_t>(std::int64_t{top} + g.height / 2);
    resetSpawnDisc();
    g.radius = 0.48 * std::min(g.width, g.height);
}

void Scene::resetSpawnDisc() {
    const double d = std::min(geometry_.width, geometry_.height);
    spawn_.radius = d * 0.6666666666666666;
    spawn_.centreX = 0.5 * d;
    spawn_.centreY = 0.25 * d;
}

void Scene::applyTilt(int balance) {
    ImageGeometry& g = geometry_;
    if (g.shape == SCREEN_THREE_MIRROR) {
        g.symmetry = 3;
        g.orientation = PI / 2.0;
        return;
    }
    g.orientation = g.shape == SCREEN_RECTANGLE ? 0.0 : -PI / 2.0;
    const int b = clampPercent(balance);
    const double halfSector = PI / std::clamp(g.symmetry, MIN_SYMMETRY, MAX_SYMMETRY);
    if (b <= 45) {
        g.orientation -= halfSector * (45 - b) * TILT_PER_STEP;
    } else if (b >= 55) {
        g.orientation += halfSector * (b - 55) * TILT_PER_STEP;
    }
}

int Scene::loadPattern(const Pattern& pattern, bool settingsOnly) {
    pieceCount_ = 0;
    geometry_.symmetry = std::clamp(pattern.symmetry, MIN_SYMMETRY, MAX_SYMMETRY);
    loadBackground(pattern);
    geometry_.shape = isKnownScreenShape(pattern.screenShape)
                          ? static_cast<ScreenShape>(pattern.screenShape)
                          : SCREEN_CIRCLE;
    applyTilt(pattern.balance);
    darkBorders_ = pattern.darkBorders != 0 ? 1 : 0;
    geometry_.sizeFactor = (clampPercent(pattern.imageSize) + 1) * 0.02;
    setAnimationFactor(pattern.animationLevel);
    if (settingsOnly) {
        return 0;
    }
    resetSpawnDisc();
    // A layer spawns at most 100 pieces, whatever a damaged file says.
    int spawned = addLayerPieces(pattern.layers[0], clampPercent(pattern.amount[0]));
    spawned += addLayerPieces(pattern.layers[1], clampPercent(pattern.amount[1]));
    resetSpawnDisc();
    spawned += addLayerPieces(pattern.layers[2], clampPercent(pattern.amount[2]));
    resetSpawnDisc();
    return spawned;
}

void Scene::loadBackground(const Pattern& pattern) {
    Background& b = background_;
    b.mode = pattern.backgroundMode;
    if (b.mode == BACKGROUND_CONSTANT) {
        b.colour = pattern.backgroundColour;
        return;
    }
    b.hue = drawMod(360);
    b.saturation = ColourTools::colourSaturation(pattern.backgroundColour);
    b.value = ColourTools::colourValue(pattern.backgroundColour);
    b.colour = ColourTools::hsvToRgb(b.hue, b.saturation, b.value);
}

void Scene::advanceBackground() {
    Background& b = background_;
    if (b.mode != BACKGROUND_CHANGING)
        return;
    b.hue = std::fmod(b.hue + 1.0, 360.0);
    b.colour = ColourTools::hsvToRgb(b.hue, b.saturation, b.value);
}

Scene::SlotWeights Scene::slotWeights(const Layer& layer) {
    SlotWeights weights{};
    int sum = 0;
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        sum += clampPercent(layer.ratio[i]);
        weights.limits[i] = sum;
    }
    if (sum < 1) {
        weights.limits[0] = 1; // all ratios 0: every slot equally likely
        weights.limits[1] = 2;
        weights.limits[2] = 3;
        sum = 3;
    }
    weights.total = sum;
    return weights;
}

int Scene::pickSlot(const SlotWeights& weights) {
    const int k = drawMod(weights.total);
    int slot = 0;
    while (slot < SLOTS_PER_LAYER - 1 && k >= weights.limits[slot]) {
        ++slot;
    }
    return slot;
}

int Scene::addLayerPieces(const Layer& layer, int count) {
    count = std::min(count, MAX_PIECES - pieceCount_);
    if (count < 1) {
        return 0;
    }
    const SlotWeights weights = slotWeights(layer);
    const ColourRef layerColour = drawLayerColour();
    for (int n = 0; n < count; ++n) {
        Piece& piece = pieces_[static_cast<std::size_t>(pieceCount_ + n)];
        const int slot = pickSlot(weights);
        spawnPiece(piece, layer.shape[slot]);
        applySize(piece, layer, slot);
        if (layer.sizeMode[slot] == SIZE_CHANGE) {
            applySizeChange(piece);
        }
        applyColour(piece, layer, slot, layerColour);
        applyAngle(piece, layer.angleMode[slot]);
        applyWobble(piece, layer.animate[slot]);
        piece.border = layer.border[slot] != 0;
    }
    pieceCount_ += count;
    return count;
}

void Scene::spawnPiece(Piece& piece, int shape) {
    placeInSpawnDisc(piece);
    piece.angle = draw() * (2.0 * PI / RANDOM_MAX);
    piece.shape = shape;
    piece.colourCycling = false;
    const double d = std::min(geometry_.width, geometry_.height);
    // About a fifteenth of the shorter side for a shape spanning its size unit.
    piece.size = d * 0.2 * 0.333333 / shapeLibrary().sizeUnit(shape);
    piece.colour = SPAWN_COLOUR;
    piece.angleCurve.setConstant(0.0);
    piece.spinning = false;
    piece.sizeCurve.setConstant(0.0);
    piece.motion.setConstant(0.0);
    piece.border = true;
}

void Scene::placeInSpawnDisc(Piece& piece) {
    const double r = spawn_.radius;
    const double discX = std::trunc(spawn_.centreX); // whole pixels
    const double discY = std::trunc(spawn_.centreY);
    piece.x = discX;
    piece.y = discY;
    const std::int64_t span = 2 * static_cast<std::int64_t>(r);
    if (span < 2) {
        return; // drawing area too small for a disc: the centre it is
    }
    for (int tries = 0; tries < MAX_SPAWN_TRIES; ++tries) {
        const double u = std::trunc(static_cast<double>(draw() % span) - r);
        const double v = std::trunc(static_cast<double>(draw() % span) - r);
        if (u * u + v * v <= r * r) {
            piece.x = discX + v;
            piece.y = discY + u;
            return;
        }
    }
}

void Scene::applySize(Piece& piece, const Layer& layer, int slot) {
    double factor = 0.5 + (100 - clampPercent(layer.size[slot])) * 0.01;
    switch (layer.sizeMode[slot]) {
    case SIZE_CONST:
    case SIZE_CHANGE:
        break;
    case SIZE_MIX:
        factor *= 0.5 + draw() / static_cast<double>(RANDOM_MAX);
        break;
    default:
        factor = 1.0;
        break;
    }
    piece.size = (piece.sizeCurve.value() + piece.size) * factor;
}

// The piece rests at half its size and once per period swells to twice it and back.
void Scene::applySizeChange(Piece& piece) {
    const double s = piece.sizeCurve.value() + piece.size;
    const int period = animationPeriod(drawMod(72) + 64);
    const int halfWidth = drawMod(32) + 16;
    const int phase = drawMod(period);
    piece.size = s / 2.0;
    if (s != 0.0) {
        piece.sizeCurve.setPulse(period, phase, halfWidth, 0.0, 1.5 * s);
    } else {
        piece.sizeCurve.setConstant(0.0);
    }
}

void Scene::applyColour(Piece& piece, const Layer& layer, int slot, ColourRef layerColour) {
    switch (layer.colourMode[slot]) {
    case COLOUR_CONST:
        piece.colour = layer.colour[slot];
        break;
    case COLOUR_MIX: {
        const double hue = drawMod(360);
        piece.colour = ColourTools::hsvToRgb(hue, mixSaturation(), 100.0);
        break;
    }
    case COLOUR_VARY:
        piece.colour = layerColour;
        break;
    case COLOUR_CHANGE:
        piece.hue = drawMod(360);
        piece.saturation = mixSaturation();
        piece.colourCycling = true;
        break;
    default:
        piece.colour = WHITE;
        break;
    }
}

void Scene::applyAngle(Piece& piece, int angleMode) {
    if (angleMode == ANGLE_ROTATE) {
        const double rate = draw() * ROTATE_RATE_PER_DRAW / animationFactor_;
        if (rate != 0.0) {
            piece.angleCurve.setPulse(0, 0, 0, 0.0, rate); // period 1: rate every frame
            piece.spinning = true;
        }
    } else if (angleMode == ANGLE_TWIRL) {
        const int period = animationPeriod(drawMod(72) + 64);
        const int halfWidth = drawMod(32) + 16;
        const int phase = drawMod(period);
        const double amplitude = draw() * TWIRL_PER_DRAW;
        if (amplitude != 0.0) {
            piece.angleCurve.setPulse(period, phase, halfWidth, 0.0, amplitude);
            piece.spinning = true;
        }
    }
}

void Scene::applyWobble(Piece& piece, int animate) {
    const int level = clampPercent(animate);
    if (level <= 3) {
        return;
    }
    const int frames = drawMod(128) + 64;
    for (int unused = 0; unused < 3; ++unused) {
        draw(); // kept so that a seeded run spawns the same pieces as before
    }
    const double amplitude = level * spawn_.radius * WOBBLE_PER_ANIMATE;
    piece.motion.setRandomOscillation(animationPeriod(frames), amplitude);
}

// A period in frames stretched by the animation factor; always at least 8.
int Scene::animationPeriod(int frames) const {
    const double stretched = std::trunc(frames * animationFactor_);
    if (!(stretched > 0.0)) {
        return 8;
    }
    return static_cast<int>(std::min(stretched, 1.0e9)) + 8;
}

void Scene::rotate(int rotation) {
    const double px = std::trunc(spawn_.centreX);
    const double py = std::trunc(spawn_.centreY);
    const double a = 0.01 * 0.2 * std::pow(5.0, clampPercent(rotation) * 0.02);
    const double c = std::cos(a);
    const double s = std::sin(a);
    for (Piece& piece : pieces()) {
        const double rx = piece.x - px;
        const double ry = piece.y - py;
        piece.x = px + rx * c - ry * s;
        piece.y = py + rx * s + ry * c;
        piece.angle += a;
        if (piece.angle > ANGLE_WRAP) {
            piece.angle -= ANGLE_WRAP;
        } else if (piece.angle < -ANGLE_WRAP) {
            piece.angle += ANGLE_WRAP;
        }
    }
}

void Scene::updatePiece(Piece& piece) {
    piece.angleCurve.advance();
    if (piece.spinning) {
        piece.angle += piece.angleCurve.value();
    }
    piece.sizeCurve.advance();
    piece.motion.advance();
}

void Scene::renderFrame(Surface& surface, bool antiAlias, PolygonRecorder* recorder) {
    advanceBackground();
    FrameRenderer frame(geometry_, work_, surface, antiAlias, recorder);
    frame.fillBackground(background_.colour);
    const BorderStyle borders{darkBorders_ != 0, borderColour()};
    for (Piece& piece : pieces()) {
        updatePiece(piece);
        frame.drawPiece(piece, borders);
    }
    frame.finishShape(background_.colour);
}

} // namespace lumivane
