#include "ui/PreferencesDialog.h"

#include "ui/DialogSettings.h"
#include "ui/DialogUnits.h"
#include "ui/ModalRunner.h"
#include "view/DisplaySettings.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

namespace lumivane {

Preferences Preferences::of(const DialogSettings& settings, const DisplaySettings& display) {
    return Preferences{settings.noTabMarks, settings.enterKeepsDialog, settings.warnOnQuit,
                       settings.politeMode, display.antiAlias,         display.showPatternName};
}

void Preferences::applyTo(DialogSettings& settings, DisplaySettings& display) const {
    settings.noTabMarks = noTabMarks;
    settings.enterKeepsDialog = enterKeepsDialog;
    settings.warnOnQuit = warnOnQuit;
    settings.politeMode = politeMode;
    display.antiAlias = antiAlias;
    display.showPatternName = showPatternName;
}

PreferencesDialog::PreferencesDialog(const Preferences& preferences, ModalRunner& runner,
                                     QWidget* parent)
    : QDialog(parent), runner_(runner) {
    setWindowTitle(QStringLiteral("Lumivane Preferences"));
    setMouseTracking(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(dialogUnitsX(this, 21), dialogUnitsY(this, 9),
                               dialogUnitsX(this, 21), dialogUnitsY(this, 9));
    const auto box = [this, layout](int id, const char* caption) {
        auto* check = new QCheckBox(QString::fromLatin1(caption), this);
        check->setObjectName(QStringLiteral("id%1").arg(id));
        check->setAccessibleName(check->text());
        check->setMinimumHeight(dialogUnitsY(this, 19));
        layout->addWidget(check);
        return check;
    };
    noTabMarks_ = box(1112, "No tab marks (Warning! Only mouse control is then possible)");
    enterKeepsDialog_ = box(1116, "Enter key does not quit the dialog by default");
    warnOnQuit_ = box(1115, "Warn if you quit without saving");
    politeMode_ = box(1113, "Polite mode (Obsolete!  Email us if you want this in Version 5!)");
    antiAlias_ = box(1117, "Anti-aliasing in full screen mode (slower but looks great!)");
    showPatternName_ = box(1118, "Show name of each pattern in full-screen mode");

    const auto button = [this](int id, const char* caption) {
        auto* push = new QPushButton(QString::fromLatin1(caption), this);
        push->setObjectName(QStringLiteral("id%1").arg(id));
        push->setAccessibleName(push->text());
        push->setMinimumWidth(dialogUnitsX(this, 50));
        return push;
    };
    QPushButton* ok = button(1, "OK");
    QPushButton* defaults = button(1114, "Default");
    QPushButton* cancel = button(2, "Cancel");
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addStretch();
    buttons->addWidget(defaults);
    buttons->addStretch();
    buttons->addWidget(cancel);
    layout->addSpacing(dialogUnitsY(this, 10));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &PreferencesDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &PreferencesDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &PreferencesDialog::restoreDefaults);
    // Any change of the box, from the pointer, the keys or an assistive tool.
    connect(noTabMarks_, &QCheckBox::toggled, this, &PreferencesDialog::checkNoTabMarks);
    showValues(preferences);
}

void PreferencesDialog::showValues(const Preferences& preferences) {
    const QSignalBlocker blocker(noTabMarks_);
    noTabMarks_->setChecked(preferences.noTabMarks);
    enterKeepsDialog_->setChecked(preferences.enterKeepsDialog);
    warnOnQuit_->setChecked(preferences.warnOnQuit);
    politeMode_->setChecked(preferences.politeMode);
    antiAlias_->setChecked(preferences.antiAlias);
    showPatternName_->setChecked(preferences.showPatternName);
}

Preferences PreferencesDialog::preferences() const {
    return Preferences{noTabMarks_->isChecked(), enterKeepsDialog_->isChecked(),
                       warnOnQuit_->isChecked(), politeMode_->isChecked(),
                       antiAlias_->isChecked(),  showPatternName_->isChecked()};
}

// Only the mouse may turn "No tab marks" on: once it is on, the keyboard can no
// longer move between controls, so someone who has not touched the mouse here
// could lock themselves out. The refusal shows once the box's own change has
// taken its course.
void PreferencesDialog::checkNoTabMarks(bool checked) {
    if (mouseSeen_ || !checked)
        return;
    QMetaObject::invokeMethod(this, &PreferencesDialog::refuseNoTabMarks, Qt::QueuedConnection);
}

void PreferencesDialog::refuseNoTabMarks() {
    const QPointer<PreferencesDialog> self(this);
    showMessage(runner_, this, QMessageBox::Warning, QStringLiteral("Error"),
                QStringLiteral("You can't check this except with the mouse!"));
    if (!self)
        return;
    const QSignalBlocker blocker(noTabMarks_);
    noTabMarks_->setChecked(false);
}

void PreferencesDialog::restoreDefaults() {
    showValues(Preferences{});
}

// Only the dialog's own surface counts: a pointer that goes straight onto a
// control has not shown that the user works with the mouse here.
void PreferencesDialog::mouseMoveEvent(QMouseEvent* event) {
    if (childAt(event->position().toPoint()) == nullptr)
        mouseSeen_ = true;
    QDialog::mouseMoveEvent(event);
}

void PreferencesDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        runner_.openHelpFile();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lumivane
