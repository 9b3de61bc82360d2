#include "ui/BankDialog.h"

#include <QBoxLayout>
#include <QDialogButtonBox>

namespace lumivane {

BankDialog::BankDialog(const DialogContext& context, const DataStore& set, QWidget* parent)
    : QDialog(parent), context_(context) {
    setWindowTitle(QStringLiteral("Work with Pattern Banks"));
    set_.clear();
    set_.appendAll(set);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &BankDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BankDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buttons);
}

} // namespace lumivane
