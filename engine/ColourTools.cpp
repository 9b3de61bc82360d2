#include "engine/ColourTools.h"

#include "engine/Random.h"
#include "engine/Shapes.h"

#include <algorithm>
#include <cmath>

namespace lumivane {
namespace {

constexpr double ONE_OVER_120 = 0.008333333333333333;
constexpr double CHANNEL_TO_PERCENT = 0.3921568627450981; // 100 / 255

struct Channels {
    double red;
    double green;
    double blue;
};

// Truncates toward zero and keeps the result inside one byte, so that
// out-of-range inputs cannot spill into the neighbouring channels.
ColourRef channelByte(double channel) {
    if (!(channel > 0.0)) {
        return 0;
    }
    return static_cast<ColourRef>(std::min(std::trunc(channel), 255.0));
}

int red(ColourRef c) {
    return static_cast<int>(c & 0xFF);
}
int green(ColourRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
int blue(ColourRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// The hue is split into three sectors of 120 degrees, each of which pairs two
// of the usual six sectors around the fraction 0.5.
Channels hsvChannels(double hue, double saturation, double value) {
    const double largest = value * 2.55;
    const double m = ((100.0 - saturation) * value) * 0.0255;
    const double d = largest - m;
    const double top = d + m;
    int sector = 3;
    double f = 0.0;
    if (hue < 120.0) {
        sector = 1;
        f = hue * ONE_OVER_120;
    } else if (hue <= 240.0) {
        sector = 2;
        f = (hue - 120.0) * ONE_OVER_120;
    } else {
        f = (hue - 240.0) * ONE_OVER_120;
    }
    const double rising = m + (f * d) * 2.0;
    const double falling = m + ((1.0 - f) * d) * 2.0;
    const bool firstHalf = f < 0.5;
    switch (sector) {
    case 1:
        return firstHalf ? Channels{top, rising, m} : Channels{falling, top, m};
    case 2:
        return firstHalf ? Channels{m, top, rising} : Channels{m, falling, top};
    default:
        return firstHalf ? Channels{rising, m, top} : Channels{top, m, falling};
    }
}

bool coinFlip() {
    return sharedRandom().coinFlipLow();
}
int drawMod(int k) {
    return sharedRandom().drawMod(k);
}

void randomiseSlot(Layer& layer, int i) {
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
    if (i == 2 && coinFlip()) {
        layer.ratio[2] = 0; // half of the layers use only their first two slots
    }
    layer.size[i] = drawMod(101);
    if (coinFlip()) {
        layer.size[i] /= 2; // favours larger pieces
    }
    layer.sizeMode[i] = drawMod(3);
}

void randomiseAmounts(Pattern& pattern) {
    int sum = 0;
    do {
        sum = 0;
        for (std::int32_t& amount : pattern.amount) {
            amount = drawMod(101);
            sum += amount;
        }
    } while (sum < 100 || sum > 200);
}

ColourRef randomBackground() {
    if (coinFlip()) {
        return 0;
    }
    const ColourRef b = static_cast<ColourRef>(drawMod(64));
    const ColourRef g = static_cast<ColourRef>(drawMod(64));
    const ColourRef r = static_cast<ColourRef>(drawMod(64));
    return r | (g << 8) | (b << 16);
}

} // namespace

ColourRef ColourTools::hsvToRgb(double hue, double saturation, double value) {
    const Channels c = hsvChannels(hue, saturation, value);
    return channelByte(c.red) | (channelByte(c.green) << 8) | (channelByte(c.blue) << 16);
}

double ColourTools::colourSaturation(ColourRef colour) {
    const int sum = red(colour) + green(colour) + blue(colour);
    if (sum == 0) {
        return 0.0;
    }
    const int lowest = std::min({red(colour), green(colour), blue(colour)});
    return 100.0 * (1.0 - 3.0 * lowest / sum);
}

double ColourTools::colourValue(ColourRef colour) {
    return std::max({red(colour), green(colour), blue(colour)}) * CHANNEL_TO_PERCENT;
}

void ColourTools::randomiseLayer(Layer& layer) {
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        randomiseSlot(layer, i);
    }
}

void ColourTools::randomisePattern(Pattern& pattern) {
    for (Layer& layer : pattern.layers) {
        randomiseLayer(layer);
    }
    randomiseAmounts(pattern);
    pattern.backgroundColour = randomBackground();
    pattern.symmetry = drawMod(8) + 3;
}

const ColourTools& colourTools() {
    static const ColourTools tools;
    return tools;
}

} // namespace lumivane
