// A selection-only drop-down list that also tells when its list closes. The
// closing is reported after the selection the closing made, so a handler of
// the closing sees the new selection.
#pragma once

#include <QComboBox>

namespace lumivane {

class DropDownList : public QComboBox {
    Q_OBJECT

  public:
    explicit DropDownList(QWidget* parent = nullptr);

    void hidePopup() override;
    // Selects entry index (-1: none) without reporting a change.
    void selectQuietly(int index);

  signals:
    void listClosed();
};

} // namespace lumivane
