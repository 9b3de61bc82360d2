#include "ui/QuickHelp.h"

#include "ui/DialogSettings.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QToolButton>

namespace lumivane {
namespace {

// A question mark on a disc: blue and raised when up, deep blue and sunk a
// little when the mode is on.
QPixmap questionMark(int side, qreal ratio, bool down) {
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = side * 0.06;
    const QRectF disc(inset, inset, side - 2 * inset, side - 2 * inset);
    QRadialGradient fill(disc.center() - QPointF(side * 0.15, side * 0.15), side * 0.7);
    fill.setColorAt(0, down ? QColor(40, 70, 150) : QColor(120, 170, 255));
    fill.setColorAt(1, down ? QColor(15, 30, 90) : QColor(30, 80, 190));
    painter.setPen(QPen(down ? QColor(10, 20, 60) : QColor(20, 50, 130), side * 0.05));
    painter.setBrush(fill);
    painter.drawEllipse(disc);

    QFont font = QApplication::font();
    font.setBold(true);
    font.setPixelSize(static_cast<int>(side * 0.68));
    painter.setFont(font);
    painter.setPen(down ? QColor(255, 220, 90) : Qt::white);
    const QPointF shift = down ? QPointF(side * 0.03, side * 0.03) : QPointF();
    painter.drawText(disc.translated(shift), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

QIcon quickHelpIcon() {
    QIcon icon;
    for (const int side : {16, 20, 24, 32, 48}) {
        for (const qreal ratio : {1.0, 2.0}) {
            icon.addPixmap(questionMark(side, ratio, false), QIcon::Normal, QIcon::Off);
            icon.addPixmap(questionMark(side, ratio, true), QIcon::Normal, QIcon::On);
        }
    }
    return icon;
}

} // namespace

QuickHelp::QuickHelp(QWidget* dialog, const DialogSettings& settings)
    : settings_(settings), dialog_(dialog), button_(new QToolButton(dialog)) {
    button_->setObjectName(QStringLiteral("id%1").arg(QUICK_HELP_ID));
    button_->setAccessibleName(QStringLiteral("Quick help"));
    button_->setToolTip(QStringLiteral("Quick help: press, then click a control"));
    button_->setCheckable(true);
    button_->setIcon(quickHelpIcon());
    button_->setAutoRaise(false);
}

void QuickHelp::enter() {
    active_ = true;
    showButton(true);
    if (!settings_.helpCursorsReady || !settings_.helpCursor || cursorShown_ || !dialog_)
        return;
    // Controls without a cursor of their own take the dialog's.
    for (QWidget* control : dialog_->findChildren<QWidget*>()) {
        if (control->window() != dialog_ || !control->testAttribute(Qt::WA_SetCursor))
            continue;
        ownCursors_.emplace_back(control, control->cursor());
        control->setCursor(*settings_.helpCursor);
    }
    dialog_->setCursor(*settings_.helpCursor);
    cursorShown_ = true;
}

void QuickHelp::leave() {
    active_ = false;
    showButton(false);
    restoreCursor();
}

void QuickHelp::showButton(bool down) {
    if (button_ == nullptr)
        return;
    const QSignalBlocker blocker(button_.data());
    button_->setChecked(down);
}

void QuickHelp::restoreCursor() {
    if (!cursorShown_)
        return;
    for (auto& [control, cursor] : ownCursors_)
        if (control)
            control->setCursor(cursor);
    ownCursors_.clear();
    if (dialog_)
        dialog_->unsetCursor();
    cursorShown_ = false;
}

} // namespace lumivane
