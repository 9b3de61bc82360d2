#include "ui/DialogBase.h"

#include "ui/DropDownList.h"
#include "ui/ModalRunner.h"
#include "ui/QuickHelp.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QPointer>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

#include <vector>

namespace lumivane {

namespace {
// The id of the focus sink in every dialog that has one.
constexpr int FOCUS_SINK_ID = 1093;
} // namespace

DialogBase::DialogBase(const DialogContext& context, std::span<const HelpText> helpTexts,
                       QWidget* parent)
    : QDialog(parent), context_(context), helpTexts_(helpTexts),
      focusSink_(named(new QWidget(this), FOCUS_SINK_ID, QString())) {
    // Visible but of no size, so that it can hold the focus and show nothing.
    focusSink_->setFocusPolicy(Qt::NoFocus);
    focusSink_->setGeometry(0, 0, 0, 0);
}

// The controls go after this, and nothing they say on their way out may reach
// the dialog's handlers, whose dialog is already gone; the mode ends with the
// dialog and gives the cursor back.
DialogBase::~DialogBase() {
    for (QObject* child : findChildren<QObject*>())
        child->blockSignals(true);
    quickHelp_.reset();
}

QToolButton* DialogBase::createQuickHelpButton() {
    quickHelp_ = std::make_unique<QuickHelp>(this, *context_.settings);
    connect(quickHelp_->button(), &QToolButton::toggled, this, &DialogBase::pressQuickHelp);
    return quickHelp_->button();
}

bool DialogBase::quickHelpActive() const {
    return quickHelp_ != nullptr && quickHelp_->isActive();
}

void DialogBase::showChoice(QButtonGroup* group, int value) {
    // The group reports its buttons' changes itself: both keep quiet.
    const QSignalBlocker groupBlocker(group);
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QAbstractButton* button : group->buttons())
        blockers.push_back(std::make_unique<QSignalBlocker>(button));
    if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

// ---- Quick help ------------------------------------------------------------

// Pressed in either state, by any input: the mode comes on, or the button
// explains itself and the mode ends.
void DialogBase::pressQuickHelp(bool) {
    if (!explain(QUICK_HELP_ID))
        quickHelp_->enter();
}

// The mode ends and the controls go back at once; the help box shows once the
// notification that asked for it has taken its course, so that no modal runs
// inside a control's own handling of a click, a key or a value.
bool DialogBase::explain(int id) {
    if (!quickHelpActive())
        return false;
    const QString text = helpTextIn(helpTexts_, id);
    if (text.isEmpty())
        return false;
    quickHelp_->leave();
    restoreControls();
    QMetaObject::invokeMethod(
        this, [this, text] { showHelpText(text); }, Qt::QueuedConnection);
    return true;
}

void DialogBase::showHelpText(const QString& text) {
    const QPointer<DialogBase> self(this);
    ModalRunner& runner = *context_.runner;
    pausePreviews();
    showMessage(runner, this, QMessageBox::Information, QString::fromLatin1(QUICK_HELP_TITLE),
                text);
    if (!self)
        return;
    afterHelpShown();
    resumePreviews();
    if (focusSinkAfterHelp())
        focusSinkIfWanted();
}

// ---- Controls --------------------------------------------------------------

void DialogBase::onCommand(QAbstractButton* button, int id, std::function<void()> action) {
    connect(button, &QAbstractButton::clicked, this, [this, id, action] {
        if (!explain(id))
            action();
    });
}

void DialogBase::onSwitch(QAbstractButton* box, int id, std::function<void()> action) {
    connect(box, &QAbstractButton::toggled, this, [this, box, id, action](bool checked) {
        if (quickHelpActive() && !helpTextIn(helpTexts_, id).isEmpty()) {
            {
                const QSignalBlocker blocker(box);
                box->setChecked(!checked);
            }
            explain(id);
            return;
        }
        action();
    });
}

void DialogBase::onChoice(QButtonGroup* group, std::span<const int> ids,
                          std::function<void()> action) {
    connect(group, &QButtonGroup::idToggled, this, [this, ids, action](int value, bool checked) {
        if (!checked || value < 0 || value >= int(ids.size()))
            return;
        if (!explain(ids[value]))
            action();
    });
    // A click on the button already checked changes nothing, but asks for help.
    for (QAbstractButton* button : group->buttons()) {
        const int value = group->id(button);
        if (value < 0 || value >= int(ids.size()))
            continue;
        connect(button, &QAbstractButton::clicked, this, [this, id = ids[value]] {
            if (quickHelpActive())
                explain(id);
        });
    }
}

void DialogBase::onSlider(QSlider* slider, int id, SliderRule rule, std::function<void()> apply) {
    connect(slider, &QSlider::valueChanged, this, [this, rule, apply] {
        if (quickHelpActive()) {
            restoreControls();
            return;
        }
        if (rule == SliderRule::ApplyEveryMove)
            apply();
    });
    onEndOfTracking(slider, [this, id, apply] {
        if (!explain(id))
            apply();
    });
}

void DialogBase::onEndOfTracking(QSlider* slider, std::function<void()> ended) {
    connect(slider, &QSlider::sliderReleased, this, ended);
    connect(slider, &QSlider::valueChanged, this, [this, slider, ended] {
        if (!slider->isSliderDown())
            QMetaObject::invokeMethod(this, ended, Qt::QueuedConnection);
    });
}

void DialogBase::onListClosed(DropDownList* list, int id, std::function<void()> action) {
    connect(list, &DropDownList::listClosed, this, [this, id, action] {
        if (!explain(id) && action)
            action();
    });
}

void DialogBase::explainOnFocus(QWidget* edit, int id) {
    explainedOnFocus_[edit] = id;
    edit->installEventFilter(this);
}

bool DialogBase::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        const auto found = explainedOnFocus_.find(watched);
        if (found != explainedOnFocus_.end())
            explain(found->second);
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Modals ----------------------------------------------------------------

std::optional<int> DialogBase::runModal(QDialog& dialog) {
    const QPointer<DialogBase> self(this);
    ModalRunner& runner = *context_.runner;
    pausePreviews();
    const int result = runner.exec(dialog);
    if (!self)
        return std::nullopt;
    resumePreviews();
    return result;
}

std::optional<QMessageBox::StandardButton> DialogBase::tell(QMessageBox::Icon icon,
                                                            const QString& title,
                                                            const QString& text,
                                                            QMessageBox::StandardButtons buttons) {
    const QPointer<DialogBase> self(this);
    ModalRunner& runner = *context_.runner;
    pausePreviews();
    const QMessageBox::StandardButton answer =
        showMessage(runner, this, icon, title, text, buttons);
    if (!self)
        return std::nullopt;
    resumePreviews();
    return answer;
}

// ---- Focus, keys and the ending --------------------------------------------

void DialogBase::focusSinkIfWanted() {
    if (context_.settings->noTabMarks)
        focusSink_->setFocus(Qt::OtherFocusReason);
}

bool DialogBase::focusNextPrevChild(bool next) {
    if (context_.settings->noTabMarks) {
        focusSinkIfWanted();
        return true;
    }
    return QDialog::focusNextPrevChild(next);
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

void DialogBase::done(int result) {
    if (quickHelp_ != nullptr)
        quickHelp_->leave();
    QDialog::done(result);
}

} // namespace lumivane
