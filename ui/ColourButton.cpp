#include "ui/ColourButton.h"

#include "ui/CustomColours.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace lumivane {

ColourButton::ColourButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void ColourButton::setColour(ColourRef colour) {
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

// The style's own bevel, the colour inside it, and the caption in black or
// white, whichever reads better on that colour.
void ColourButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const QColor colour = toQColor(colour_);
    const bool light =
        0.299 * colour.red() + 0.587 * colour.green() + 0.114 * colour.blue() >= 128.0;
    painter.fillRect(face, isEnabled() ? colour : palette().color(QPalette::Button));
    painter.setPen(QColor(0, 0, 0, 90));
    painter.drawRect(face.adjusted(0, 0, -1, -1));

    painter.setPen(!isEnabled() ? palette().color(QPalette::Disabled, QPalette::ButtonText)
                   : light      ? Qt::black
                                : Qt::white);
    painter.drawText(face, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face.adjusted(2, 2, -2, -2);
        focus.backgroundColor = colour;
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace lumivane
