#include "ui/DropDownList.h"

namespace lumivane {

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setFocusPolicy(Qt::ClickFocus);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void DropDownList::hidePopup() {
    QComboBox::hidePopup();
    QMetaObject::invokeMethod(this, &DropDownList::listClosed, Qt::QueuedConnection);
}

} // namespace lumivane
