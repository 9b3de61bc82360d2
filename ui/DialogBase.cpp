#include "ui/DialogBase.h"

#include "ui/ModalRunner.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QSlider>

namespace lumivane {

DialogBase::DialogBase(const DialogContext& context, QWidget* parent)
    : QDialog(parent), context_(context), focusSink_(named(new QWidget(this), 1093, QString())) {
    // Visible but of no size, so that it can hold the focus and show nothing.
    focusSink_->setFocusPolicy(Qt::NoFocus);
    focusSink_->setGeometry(0, 0, 0, 0);
}

void DialogBase::onEndOfTracking(QSlider* slider, std::function<void()> ended) {
    connect(slider, &QSlider::sliderReleased, this, ended);
    connect(slider, &QSlider::valueChanged, this, [this, slider, ended] {
        if (!slider->isSliderDown())
            QMetaObject::invokeMethod(this, ended, Qt::QueuedConnection);
    });
}

void DialogBase::showChoice(QButtonGroup* group, int value) {
    if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

// The field takes the chosen button's value; with none chosen (a value this
// program does not know) it stays as it was.
void DialogBase::focusSinkIfWanted() {
    if (context_.options->noTabMarks)
        focusSink_->setFocus(Qt::OtherFocusReason);
}

void DialogBase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        focusSinkIfWanted();
    }
}

void DialogBase::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        context_.runner->openHelpFile();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lumivane
