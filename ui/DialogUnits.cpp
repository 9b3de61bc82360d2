#include "ui/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace lumivane {
namespace {

// The average width of the Latin letters, as dialog templates measure it.
int baseWidth(const QWidget* widget) {
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(widget->font());
    return (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
}

} // namespace

int dialogUnitsX(const QWidget* widget, int units) {
    return (units * baseWidth(widget) + 2) / 4;
}

int dialogUnitsY(const QWidget* widget, int units) {
    return (units * QFontMetrics(widget->font()).height() + 4) / 8;
}

QSize dialogUnits(const QWidget* widget, int width, int height) {
    return {dialogUnitsX(widget, width), dialogUnitsY(widget, height)};
}

} // namespace lumivane
