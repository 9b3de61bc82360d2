#include "view/NameOverlay.h"

#include "view/ViewRules.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lumivane {

void writeNameOverlay(QImage& image, qreal ratio, const QString& name, const QFont* font,
                      QRgb colour) {
    if (image.isNull() || !(ratio > 0)) {
        return;
    }
    QPainter painter(&image);
    // The painter starts in the image's own logical pixels; from here on one unit is ratio
    // device pixels.
    painter.scale(ratio / image.devicePixelRatio(), ratio / image.devicePixelRatio());
    if (font != nullptr) {
        painter.setFont(*font);
    }
    painter.setPen(QColor::fromRgb(colour));
    const QFontMetrics metrics = painter.fontMetrics();
    const int logicalWidth = static_cast<int>(std::lround(image.width() / ratio));
    const int left = nameLeft(logicalWidth, metrics.horizontalAdvance(name));
    painter.drawText(QPoint(left, NAME_TOP + metrics.ascent()), name);
}

int pixelSizeForCell(QFont font, int cellHeight) {
    auto cellAt = [&font](int pixelSize) {
        font.setPixelSize(pixelSize);
        const QFontMetrics metrics(font);
        return metrics.ascent() + metrics.descent();
    };
    const int nominal = cellAt(cellHeight);
    if (cellHeight < 1 || nominal < 1) {
        return cellHeight;
    }
    // Cells grow with the pixel size, nearly in proportion: start from the proportional
    // guess and step to the largest size that still fits.
    int size = std::max(1, cellHeight * cellHeight / nominal);
    for (int steps = 0; size > 1 && cellAt(size) > cellHeight && steps < cellHeight; ++steps) {
        --size;
    }
    for (int steps = 0; cellAt(size + 1) <= cellHeight && steps < cellHeight; ++steps) {
        ++size;
    }
    return size;
}

} // namespace lumivane
