#include "ui/DropDownList.h"

#include <QSignalBlocker>

namespace lumivane {

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setFocusPolicy(Qt::ClickFocus);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void DropDownList::selectQuietly(int index) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
}

void DropDownList::hidePopup() {
    QComboBox::hidePopup();
    QMetaObject::invokeMethod(this, &DropDownList::listClosed, Qt::QueuedConnection);
}

} // namespace lumivane
