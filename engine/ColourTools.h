// Colour conversions, and the way in to the random pattern generator
// (engine/PatternGenerator.h). The object holds no state and every operation
// is static.
#pragma once

#include "engine/PatternGenerator.h"
#include "patterns/Pattern.h"

namespace lumivane {

class ColourTools {
  public:
    // Hue in degrees 0..360, saturation and value in percent 0..100. Channels
    // are truncated, so full brightness gives 254 per channel (white is 0xFEFEFE).
    static ColourRef hsvToRgb(double hue, double saturation, double value);
    // Intensity-based saturation 0..100: 100 x (1 - 3 min / (r + g + b)); 0 for black.
    static double colourSaturation(ColourRef colour);
    // Brightest channel scaled to 0..100.
    static double colourValue(ColourRef colour);

    // Fills the layers, amounts, background colour and symmetry of the pattern
    // with a new random design; every other field is left as it was.
    static void randomisePattern(Pattern& pattern) { generatePattern(pattern); }
    // Fills all three slots of the layer with random settings.
    static void randomiseLayer(Layer& layer, LayerDrawRules rules = {}) {
        generateLayer(layer, rules);
    }
};

} // namespace lumivane
