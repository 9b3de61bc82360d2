// What the configuration dialogs with a preview and quick help share: the
// context they work in, the invisible focus sink that "No tab marks" puts the
// focus on (id1093), and F1 for the help file.
#pragma once

#include "ui/DialogContext.h"

#include <QDialog>
#include <QString>

#include <functional>

class QButtonGroup;
class QSlider;

namespace lumivane {

class DialogBase : public QDialog {
    Q_OBJECT

  public:
    // Gives control the object name "id" + its template id and an accessible name.
    template <typename Control>
    static Control* named(Control* control, int id, const QString& accessibleName) {
        control->setObjectName(QStringLiteral("id%1").arg(id));
        control->setAccessibleName(accessibleName);
        return control;
    }

    // Checks the button of value in group, or none when no button has it.
    static void showChoice(QButtonGroup* group, int value);

  protected:
    DialogBase(const DialogContext& context, QWidget* parent);

    // Calls ended when the slider's tracking ends: a drag when the handle is
    // released, keys, clicks beside the handle and the wheel once the slider
    // has taken its new value.
    void onEndOfTracking(QSlider* slider, std::function<void()> ended);

    // With "No tab marks" on, the focus goes where no control shows a mark.
    void focusSinkIfWanted();

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    DialogContext context_;

  private:
    QWidget* focusSink_;
    bool shownOnce_ = false;
};

} // namespace lumivane
