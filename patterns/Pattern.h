// The pattern record: a plain 380-byte description of one kaleidoscope image.
// Its in-memory layout matches the file layout to the byte; the file code still
// reads and writes it field by field as little-endian (see PatternCodec.h).
#pragma once

#include "NameTable.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumivane {

using ColourRef = std::uint32_t; // 0x00BBGGRR, red in the low byte

enum ScreenShape : std::int32_t {
    SCREEN_CIRCLE = 0,
    SCREEN_OVAL = 1,
    SCREEN_RECTANGLE = 2,
    SCREEN_THREE_MIRROR = 3,
};

enum BackgroundMode : std::int32_t {
    BACKGROUND_CONSTANT = 0,
    BACKGROUND_RANDOM = 1,
    BACKGROUND_CHANGING = 2,
};

enum ColourMode : std::int32_t {
    COLOUR_CONST = 0,
    COLOUR_MIX = 1,
    COLOUR_VARY = 2,
    COLOUR_CHANGE = 3
};
enum SizeMode : std::int32_t { SIZE_CONST = 0, SIZE_MIX = 1, SIZE_CHANGE = 2 };
enum AngleMode : std::int32_t { ANGLE_CONST = 0, ANGLE_ROTATE = 1, ANGLE_TWIRL = 2 };

// What the dialogs call each value and the text form of store files writes.
namespace name_lists {
inline constexpr const char* SCREEN_SHAPES[] = {"Circle", "Oval", "Rectangle", "Three Mirror"};
inline constexpr const char* BACKGROUND_MODES[] = {"Constant", "Random", "Changing"};
inline constexpr const char* COLOUR_MODES[] = {"Const", "Mix", "Vary", "Change"};
inline constexpr const char* SIZE_MODES[] = {"Const", "Mix", "Change"};
inline constexpr const char* ANGLE_MODES[] = {"Const", "Rotate", "Twirl"};
} // namespace name_lists

inline constexpr NameTable SCREEN_SHAPE_NAMES{name_lists::SCREEN_SHAPES};
inline constexpr NameTable BACKGROUND_MODE_NAMES{name_lists::BACKGROUND_MODES};
inline constexpr NameTable COLOUR_MODE_NAMES{name_lists::COLOUR_MODES};
inline constexpr NameTable SIZE_MODE_NAMES{name_lists::SIZE_MODES};
inline constexpr NameTable ANGLE_MODE_NAMES{name_lists::ANGLE_MODES};

static_assert(SCREEN_SHAPE_NAMES.count() == SCREEN_THREE_MIRROR + 1);
static_assert(BACKGROUND_MODE_NAMES.count() == BACKGROUND_CHANGING + 1);
static_assert(COLOUR_MODE_NAMES.count() == COLOUR_CHANGE + 1);
static_assert(SIZE_MODE_NAMES.count() == SIZE_CHANGE + 1);
static_assert(ANGLE_MODE_NAMES.count() == ANGLE_TWIRL + 1);

constexpr int SLOTS_PER_LAYER = 3;
constexpr int LAYERS_PER_PATTERN = 3;
constexpr int PATTERN_NAME_BYTES = 24;
constexpr std::size_t LAYER_BYTES = 100;
constexpr std::size_t PATTERN_BYTES = 380;
constexpr std::size_t OLD_PATTERN_BYTES = 376; // older files lack backgroundMode

// Three shape slots, stored attribute by attribute: element i belongs to slot i.
struct Layer {
    std::int32_t shape[SLOTS_PER_LAYER] = {0, 1, 2};
    std::int32_t size[SLOTS_PER_LAYER] = {50, 50, 50};
    std::int32_t ratio[SLOTS_PER_LAYER] = {50, 50, 50};
    std::int32_t animate[SLOTS_PER_LAYER] = {50, 50, 50};
    std::int32_t angleMode[SLOTS_PER_LAYER] = {ANGLE_TWIRL, ANGLE_TWIRL, ANGLE_TWIRL};
    ColourRef colour[SLOTS_PER_LAYER] = {0x0000FF, 0x00FFFF, 0x00FF00};
    std::int32_t colourMode[SLOTS_PER_LAYER] = {COLOUR_CONST, COLOUR_CONST, COLOUR_CONST};
    std::int32_t sizeMode[SLOTS_PER_LAYER] = {SIZE_CONST, SIZE_CONST, SIZE_CONST};
    std::uint8_t border[SLOTS_PER_LAYER] = {1, 1, 1};
    std::uint8_t padding = 0;

    bool operator==(const Layer&) const = default;
};

struct Pattern {
    std::int32_t symmetry = 6;
    std::int32_t resetTime = 50;
    std::int32_t rotation = 50;
    std::int32_t speed = 100;
    std::int32_t imageSize = 50;
    std::int32_t balance = 50;
    std::int32_t animationLevel = 50;
    std::int32_t amount[LAYERS_PER_PATTERN] = {50, 50, 50};
    ColourRef backgroundColour = 0x000000;
    Layer layers[LAYERS_PER_PATTERN];
    std::int32_t screenShape = SCREEN_OVAL;
    char name[PATTERN_NAME_BYTES] = "No Data";
    std::int32_t darkBorders = 0;
    std::int32_t backgroundMode = BACKGROUND_CONSTANT;

    // Sets the three layer amounts to 0 and the background to black; the
    // layers themselves stay as they are.
    void makeEmpty();

    // The name up to its first NUL (at most the 24 bytes of the field).
    std::string nameText() const;
    // Stores text (cut to 23 bytes) followed by zeros.
    void setNameText(const std::string& text);

    bool operator==(const Pattern&) const = default;
};

static_assert(sizeof(Layer) == LAYER_BYTES);
static_assert(offsetof(Layer, shape) == 0);
static_assert(offsetof(Layer, size) == 12);
static_assert(offsetof(Layer, ratio) == 24);
static_assert(offsetof(Layer, animate) == 36);
static_assert(offsetof(Layer, angleMode) == 48);
static_assert(offsetof(Layer, colour) == 60);
static_assert(offsetof(Layer, colourMode) == 72);
static_assert(offsetof(Layer, sizeMode) == 84);
static_assert(offsetof(Layer, border) == 96);
static_assert(offsetof(Layer, padding) == 99);

static_assert(sizeof(Pattern) == PATTERN_BYTES);
static_assert(offsetof(Pattern, symmetry) == 0);
static_assert(offsetof(Pattern, resetTime) == 4);
static_assert(offsetof(Pattern, rotation) == 8);
static_assert(offsetof(Pattern, speed) == 12);
static_assert(offsetof(Pattern, imageSize) == 16);
static_assert(offsetof(Pattern, balance) == 20);
static_assert(offsetof(Pattern, animationLevel) == 24);
static_assert(offsetof(Pattern, amount) == 28);
static_assert(offsetof(Pattern, backgroundColour) == 40);
static_assert(offsetof(Pattern, layers) == 44);
static_assert(offsetof(Pattern, screenShape) == 344);
static_assert(offsetof(Pattern, name) == 348);
static_assert(offsetof(Pattern, darkBorders) == 372);
static_assert(offsetof(Pattern, backgroundMode) == 376);

} // namespace lumivane
