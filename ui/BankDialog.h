// "Work with Pattern Banks": the pattern set on the left, a bank on the right;
// patterns go from the set into the bank, banks go to and from files, and the
// bank can be added to, merged into or put in place of the set.
#pragma once

#include "patterns/DataStore.h"
#include "ui/DialogContext.h"

#include <QDialog>

namespace lumivane {

class BankDialog : public QDialog {
    Q_OBJECT

  public:
    // Works on a copy of the application's set.
    BankDialog(const DialogContext& context, const DataStore& set, QWidget* parent = nullptr);

    // The set as the dialog leaves it, to be taken over after OK.
    const DataStore& set() const { return set_; }

  private:
    DialogContext context_;
    DataStore set_;
};

} // namespace lumivane
