#include "ui/CustomColours.h"

#include "patterns/DataStore.h"

#include <QColorDialog>

namespace lumivane {

QColor toQColor(ColourRef colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

ColourRef toColourRef(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<ColourRef>(rgb.red()) | static_cast<ColourRef>(rgb.green()) << 8 |
           static_cast<ColourRef>(rgb.blue()) << 16;
}

void handCustomColoursToQt(const DataStore& store) {
    for (int i = 0; i < CUSTOM_COLOUR_COUNT && i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, toQColor(store.customColours[i]));
}

void takeCustomColoursFromQt(DataStore& store) {
    for (int i = 0; i < CUSTOM_COLOUR_COUNT && i < QColorDialog::customCount(); ++i)
        store.customColours[i] = toColourRef(QColorDialog::customColor(i));
}

} // namespace lumivane
