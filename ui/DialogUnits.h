// Sizes in dialog units: a quarter of the dialog font's average character
// width across, an eighth of its height down. The dialogs size their previews
// and sliders in these units, so they follow the font and the screen's scale.
#pragma once

#include <QSize>

class QWidget;

namespace lumivane {

// Pixels (logical) for dialog units of widget's font.
int dialogUnitsX(const QWidget* widget, int units);
int dialogUnitsY(const QWidget* widget, int units);
QSize dialogUnits(const QWidget* widget, int width, int height);

} // namespace lumivane
