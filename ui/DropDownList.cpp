#include "ui/DropDownList.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QSignalBlocker>

namespace lumivane {

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setFocusPolicy(Qt::ClickFocus);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(this, &QComboBox::currentIndexChanged, this, &DropDownList::showSelectionInList);
    connect(view()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DropDownList::takeListSelection);
}

void DropDownList::selectQuietly(int index) {
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
    showSelectionInList();
}

void DropDownList::showPopup() {
    // Qt opens no popup for an empty list, which would then never close.
    if (count() == 0) {
        reportClosed();
        return;
    }
    QComboBox::showPopup();
}

void DropDownList::hidePopup() {
    QComboBox::hidePopup();
    reportClosed();
}

void DropDownList::reportClosed() {
    QMetaObject::invokeMethod(this, &DropDownList::listClosed, Qt::QueuedConnection);
}

// The list's selection follows the chosen entry, so that an assistive tool
// reads it there, and selecting another entry is a change.
void DropDownList::showSelectionInList() {
    QItemSelectionModel* selection = view()->selectionModel();
    const QModelIndex chosen = model()->index(currentIndex(), modelColumn(), rootModelIndex());
    if (chosen.isValid())
        selection->setCurrentIndex(chosen, QItemSelectionModel::ClearAndSelect);
    else
        selection->clear();
}

// The pointer and the keys move the list's current entry together with its
// selection; an entry selected while the current one stays where it was is a
// choice made through the accessibility interface.
void DropDownList::takeListSelection(const QItemSelection& selected) {
    const QModelIndexList rows = selected.indexes();
    if (rows.size() != 1 || rows.first() == view()->selectionModel()->currentIndex())
        return;
    const int row = rows.first().row();
    if (view()->isVisible()) {
        setCurrentIndex(row);
        hidePopup();
        return;
    }
    setCurrentIndex(row);
    reportClosed();
}

} // namespace lumivane
