#include "ui/BackgroundColourDialog.h"

#include <QBoxLayout>
#include <QDialogButtonBox>

namespace lumivane {

BackgroundColourDialog::BackgroundColourDialog(const DialogContext& context, ColourRef colour,
                                               std::int32_t mode, QWidget* parent)
    : QDialog(parent), context_(context), colour_(colour), mode_(mode) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &BackgroundColourDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BackgroundColourDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buttons);
}

} // namespace lumivane
