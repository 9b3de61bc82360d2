// The quick-help mode of a configuration dialog: the user presses the
// question-mark button, the pointer turns into a question mark, and the next
// control operated explains itself in a message box instead of doing its job.
// This object owns the button and the mode; each dialog decides which event of
// each control shows which text, and what it restores around the message box.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QToolButton>

class QWidget;

namespace lumivane {

struct DialogOptions;
class ModalRunner;

inline constexpr const char* QUICK_HELP_TITLE = "Lumivane Help";

class QuickHelp : public QObject {
    Q_OBJECT

  public:
    QuickHelp(QWidget* dialog, const DialogOptions& options, ModalRunner& runner);
    ~QuickHelp() override;

    // The two-state button (id1117); it is pressed down while the mode is on.
    QToolButton* button() const { return button_; }
    bool isActive() const { return active_; }

    // Mode on, with the question-mark cursor when the cursors were made.
    void enter();
    // Mode off, button up, normal cursor.
    void leave();
    // The help text in its message box, owned by the dialog.
    void showText(const QString& text);

  signals:
    // The button was pressed by the user, in either state.
    void buttonPressed();

  private:
    QWidget* dialog_;
    const DialogOptions& options_;
    ModalRunner& runner_;
    QPointer<QToolButton> button_;
    bool active_ = false;
    bool cursorShown_ = false;
};

} // namespace lumivane
