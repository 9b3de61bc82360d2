#include "ui/LayerDialog.h"

#include <QBoxLayout>
#include <QDialogButtonBox>

namespace lumivane {

LayerDialog::LayerDialog(const DialogContext& context, const Pattern& pattern, const Layer& layer,
                         QWidget* parent)
    : QDialog(parent), context_(context), pattern_(pattern), layer_(layer) {
    setWindowTitle(QStringLiteral("Select Layer Pattern"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LayerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LayerDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buttons);
}

} // namespace lumivane
