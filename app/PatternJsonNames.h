// The names patterns are written with as text: the enumerations' values, the
// shapes of the library, and JSON's quoting of UTF-8 text.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

using Names = std::span<const char* const>;

inline constexpr const char* SCREEN_SHAPE_NAMES[] = {"Circle", "Oval", "Rectangle", "Three Mirror"};
inline constexpr const char* BACKGROUND_MODE_NAMES[] = {"Constant", "Random", "Changing"};
inline constexpr const char* COLOUR_MODE_NAMES[] = {"Const", "Mix", "Vary", "Change"};
inline constexpr const char* SIZE_MODE_NAMES[] = {"Const", "Mix", "Change"};
inline constexpr const char* ANGLE_MODE_NAMES[] = {"Const", "Rotate", "Twirl"};
inline constexpr const char* FULL_SCREEN_MODE_NAMES[] = {"Use Current", "Use Random",
                                                         "Auto-Generate", "Cycle"};

// The library's shape names, in library order.
const std::vector<const char*>& shapeNames();

// utf8 as a JSON string, controls (C1 ones included) escaped.
std::string quoted(std::string_view utf8);

} // namespace lumivane
