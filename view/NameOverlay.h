// The pattern's name written over a frame for the first seconds after a reset.
#pragma once

#include <QFont>
#include <QImage>
#include <QRgb>
#include <QString>

namespace lumivane {

// Writes name over image. The layout is in logical pixels, as on an unscaled screen of the
// same logical size: centred across the width (the left edge truncated toward zero), the top
// of the font's cell NAME_TOP pixels down. image holds ratio device pixels to the logical
// pixel, whatever its own device pixel ratio says; the text is drawn once at that scale.
// Without a font the painter's default font is used.
void writeNameOverlay(QImage& image, qreal ratio, const QString& name, const QFont* font,
                      QRgb colour);

// The largest pixel size at which the font actually found for font has a cell (ascent plus
// descent) of at most cellHeight pixels; cellHeight when the face gives no metrics.
int pixelSizeForCell(QFont font, int cellHeight);

} // namespace lumivane
