#include "ui/PatternNameDialog.h"

#include "ui/DialogUnits.h"
#include "ui/ModalRunner.h"
#include "ui/NameText.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QValidator>

namespace lumivane {
namespace {

// Refuses a typed character that the name field cannot store.
class Windows1252Validator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return lumivane::nameBytes(input) ? Acceptable : Invalid;
    }
};

} // namespace

PatternNameDialog::PatternNameDialog(ModalRunner& runner, QWidget* parent)
    : QDialog(parent), runner_(runner), edit_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Type a name for this pattern"));
    edit_->setObjectName(QStringLiteral("id1000"));
    edit_->setAccessibleName(QStringLiteral("Pattern name"));
    edit_->setMaxLength(PATTERN_NAME_MAX_CHARACTERS);
    edit_->setValidator(new Windows1252Validator(edit_));
    edit_->setMinimumWidth(dialogUnitsX(this, 119));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("id1"));
    ok->setAccessibleName(ok->text());
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("id2"));
    cancel->setAccessibleName(cancel->text());
    connect(ok, &QPushButton::clicked, this, &PatternNameDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &PatternNameDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    edit_->setFocus();
}

void PatternNameDialog::setName(const QString& name) {
    name_ = name;
    edit_->setText(name);
}

std::string PatternNameDialog::nameBytes() const {
    return lumivane::nameBytes(name_).value_or(std::string());
}

void PatternNameDialog::accept() {
    const QString text = edit_->text();
    if (text.size() > PATTERN_NAME_MAX_CHARACTERS || !lumivane::nameBytes(text)) {
        const QPointer<PatternNameDialog> self(this);
        showMessage(runner_, this, QMessageBox::Warning, QCoreApplication::applicationName(),
                    QStringLiteral("Please enter no more than %1 characters.")
                        .arg(PATTERN_NAME_MAX_CHARACTERS));
        if (self)
            edit_->setFocus();
        return;
    }
    name_ = text;
    QDialog::accept();
}

} // namespace lumivane
