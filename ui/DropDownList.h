// A selection-only drop-down list that also tells when its list closes. The
// closing is reported after the selection the closing made, so a handler of
// the closing sees the new selection. An empty list closes as soon as it is
// opened. Screen readers and other assistive tools choose an entry by
// selecting it in the list (its Toggle action, or the list's selection): that
// is a choice made in the open list, which then closes.
#pragma once

#include <QComboBox>

class QItemSelection;

namespace lumivane {

// How many entries an open list of patterns shows before it scrolls.
inline constexpr int PATTERN_LIST_ENTRIES = 20;

class DropDownList : public QComboBox {
    Q_OBJECT

  public:
    explicit DropDownList(QWidget* parent = nullptr);

    void showPopup() override;
    void hidePopup() override;
    // Selects entry index (-1: none) without reporting a change.
    void selectQuietly(int index);

  signals:
    void listClosed();

  private:
    void reportClosed();
    void showSelectionInList();
    void takeListSelection(const QItemSelection& selected);
};

} // namespace lumivane
