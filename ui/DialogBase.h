// What the configuration dialogs with a preview share: the context they work
// in, the quick-help mode with its button, the invisible focus sink that "No
// tab marks" puts the focus on (id1093), F1 for the help file, the running of
// modals with the previews paused, and the wiring that makes every control
// react to its changes from any input (pointer, keys, assistive tools) and
// explain itself instead in quick-help mode. Each dialog supplies its help
// texts and its own steps around a help text.
#pragma once

#include "ui/DialogContext.h"
#include "ui/HelpTexts.h"

#include <QDialog>
#include <QMessageBox>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>

class QAbstractButton;
class QButtonGroup;
class QSlider;
class QToolButton;

namespace lumivane {

class DropDownList;
class QuickHelp;

class DialogBase : public QDialog {
    Q_OBJECT

  public:
    ~DialogBase() override;

    // Gives control the object name "id" + its template id and an accessible name.
    template <typename Control>
    static Control* named(Control* control, int id, const QString& accessibleName) {
        control->setObjectName(QStringLiteral("id%1").arg(id));
        control->setAccessibleName(accessibleName);
        return control;
    }

    // Checks the button of value in group, or none when no button has it,
    // without reporting the change.
    static void showChoice(QButtonGroup* group, int value);

    bool quickHelpActive() const;
    // How many times the dialog has read its controls into what it holds.
    int readCount() const { return readCount_; }

    // Ends the dialog, and with it the quick-help mode.
    void done(int result) override;

  protected:
    DialogBase(const DialogContext& context, std::span<const HelpText> helpTexts, QWidget* parent);

    // ---- What each dialog supplies.
    virtual void pausePreviews() = 0;
    virtual void resumePreviews() = 0;
    // Shows the dialog's values again in the controls a help click may have
    // changed: radio buttons, check boxes and edit boxes. Sliders and lists
    // keep what they were moved to; the next apply takes it.
    virtual void restoreControls() = 0;
    // Runs after the help box, before the previews run again.
    virtual void afterHelpShown() {}
    // Whether the focus goes to the sink after a help text ("No tab marks").
    virtual bool focusSinkAfterHelp() const { return false; }

    // ---- Quick help.
    // Makes the question-mark button (id1117), where the dialog places it.
    QToolButton* createQuickHelpButton();
    // In quick-help mode, for a control with a help text: ends the mode, puts
    // the controls back and shows the text (in a moment); true. Otherwise false, and the caller
    // does the control's job (a control without a text, such as the layer editor's OK, acts in the
    // mode too).
    bool explain(int id);

    // ---- Controls. In quick-help mode each explains itself instead of
    // acting, whatever made it change.
    // A push button: the click (pointer, Space, an assistive Press).
    void onCommand(QAbstractButton* button, int id, std::function<void()> action);
    template <typename Dialog>
    void onCommand(QAbstractButton* button, int id, void (Dialog::*action)()) {
        onCommand(button, id,
                  [dialog = static_cast<Dialog*>(this), action] { (dialog->*action)(); });
    }
    // A check box: every change of its state. In quick-help mode the box goes
    // back to what it was.
    void onSwitch(QAbstractButton* box, int id, std::function<void()> action);
    // A radio group whose button of value v has template id ids[v]: a button
    // becoming checked, and in quick-help mode a click on the checked one too.
    void onChoice(QButtonGroup* group, std::span<const int> ids, std::function<void()> action);
    // A slider. Every position reached is applied at once (the configuration
    // dialog), or only when the tracking ends (the layer editor); in
    // quick-help mode the slider stays where it went and the end of the
    // tracking explains it.
    enum class SliderRule { ApplyEveryMove, ApplyAtEnd };
    void onSlider(QSlider* slider, int id, SliderRule rule, std::function<void()> apply);
    // A drop-down list's closing.
    void onListClosed(DropDownList* list, int id, std::function<void()> action);
    // An edit box: it explains itself when it gets the focus.
    void explainOnFocus(QWidget* edit, int id);

    // ---- Modals, with the previews paused around them. Nothing when this
    // dialog was destroyed while the modal ran: the caller returns at once.
    std::optional<int> runModal(QDialog& dialog);
    std::optional<QMessageBox::StandardButton>
    tell(QMessageBox::Icon icon, const QString& title, const QString& text,
         QMessageBox::StandardButtons buttons = QMessageBox::Ok);

    // Counts a reading of the controls.
    void noteRead() { ++readCount_; }

    // With "No tab marks" on, the focus goes where no control shows a mark.
    void focusSinkIfWanted();
    QWidget* focusSink() const { return focusSink_; }

    // "No tab marks" keeps the keyboard from moving between controls.
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    DialogContext context_;

  private:
    void pressQuickHelp(bool down);
    void showHelpText(const QString& text);
    // Calls ended when the slider's tracking ends: a drag when the handle is
    // released, keys, clicks beside the handle, the wheel and an assistive
    // value once the slider has taken its new value.
    void onEndOfTracking(QSlider* slider, std::function<void()> ended);

    std::span<const HelpText> helpTexts_;
    QWidget* focusSink_;
    std::unique_ptr<QuickHelp> quickHelp_;
    std::map<const QObject*, int> explainedOnFocus_;
    bool shownOnce_ = false;
    int readCount_ = 0;
};

} // namespace lumivane
