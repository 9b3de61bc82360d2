#include "engine/PatternGenerator.h"

#include "engine/ColourTools.h"
#include "engine/Random.h"
#include "engine/Shapes.h"

namespace lumivane {
namespace {

void generateSlot(Layer& layer, int i, LayerDrawRules rules) {
    layer.angleMode[i] = drawMod(3);
    layer.animate[i] = coinFlip() ? 0 : drawMod(100);
    layer.border[i] = coinFlip() ? 1 : 0;
    const int value = drawMod(75) + 26;
    const int saturation = drawMod(75) + 26;
    const int hue = drawMod(360);
    layer.colour[i] = ColourTools::hsvToRgb(hue, saturation, value);
    layer.colourMode[i] = coinFlip() ? COLOUR_CONST : drawMod(3) + 1;
    layer.shape[i] = drawMod(EDITABLE_SHAPE_COUNT);
    layer.ratio[i] = drawMod(101);
    if (rules.mayDropThirdSlot && i == 2 && coinFlip()) {
        layer.ratio[2] = 0;
    }
    layer.size[i] = drawMod(101);
    if (rules.favourLargerPieces && coinFlip()) {
        layer.size[i] /= 2;
    }
    layer.sizeMode[i] = drawMod(3);
}

void generateAmounts(Pattern& pattern) {
    int sum = 0;
    do {
        sum = 0;
        for (std::int32_t& amount : pattern.amount) {
            amount = drawMod(101);
            sum += amount;
        }
    } while (sum < 100 || sum > 200);
}

ColourRef generateBackground() {
    if (coinFlip()) {
        return 0;
    }
    const ColourRef b = static_cast<ColourRef>(drawMod(64));
    const ColourRef g = static_cast<ColourRef>(drawMod(64));
    const ColourRef r = static_cast<ColourRef>(drawMod(64));
    return r | (g << 8) | (b << 16);
}

} // namespace

void generateLayer(Layer& layer, LayerDrawRules rules) {
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        generateSlot(layer, i, rules);
    }
}

void generatePattern(Pattern& pattern) {
    for (Layer& layer : pattern.layers) {
        generateLayer(layer);
    }
    generateAmounts(pattern);
    pattern.backgroundColour = generateBackground();
    pattern.symmetry = drawMod(8) + 3;
}

} // namespace lumivane
