// The file dialog of "Save Bank" and "Load Bank": pattern files first, the
// "pat" suffix added, a question before a file is replaced, and the folder of
// the last accepted choice ("PatternPath") to start in.
#pragma once

#include "ui/DialogContext.h"

#include <QFileDialog>

#include <optional>

namespace lumivane {

inline constexpr const char* SAVE_BANK_TITLE = "Save Bank";
inline constexpr const char* LOAD_BANK_TITLE = "Load Bank";

class BankFileDialog : public QFileDialog {
    Q_OBJECT

  public:
    BankFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& startFolder);

    // Runs the dialog through the context's runner; the chosen file, with
    // its folder kept as the next start folder, or nothing after Cancel (or
    // when the parent was destroyed meanwhile).
    static std::optional<QString> choose(QWidget* parent, DialogContext context,
                                         QFileDialog::AcceptMode mode);
};

} // namespace lumivane
