// The quick-help mode of a configuration dialog: the user presses the
// question-mark button, the pointer turns into a question mark, and the next
// control operated explains itself in a message box instead of doing its job.
// This object holds the button and the mode; the dialog (DialogBase) decides
// what each control's activation does in the mode.
#pragma once

#include <QPointer>
#include <QToolButton>

class QWidget;

namespace lumivane {

struct DialogSettings;

inline constexpr const char* QUICK_HELP_TITLE = "Lumivane Help";
// Template id of the question-mark button in every dialog that has one.
inline constexpr int QUICK_HELP_ID = 1117;

class QuickHelp {
  public:
    QuickHelp(QWidget* dialog, const DialogSettings& settings);
    // Gives the cursor back; the button belongs to the dialog.
    ~QuickHelp();
    QuickHelp(const QuickHelp&) = delete;
    QuickHelp& operator=(const QuickHelp&) = delete;

    // The two-state button (id1117); it is down while the mode is on.
    QToolButton* button() const { return button_; }
    bool isActive() const { return active_; }

    // Mode on, button down, question-mark cursor when the cursors were made.
    void enter();
    // Mode off, button up, normal cursor. The button changes without telling.
    void leave();

  private:
    void showButton(bool down);
    void restoreCursor();

    const DialogSettings& settings_;
    QPointer<QToolButton> button_;
    bool active_ = false;
    bool cursorShown_ = false;
};

} // namespace lumivane
