#include "engine/ColourTools.h"

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

} // namespace lumivane
