// The quick-help mode of a configuration dialog: the user presses the
// question-mark button, the pointer turns into a question mark, and the next
// control operated explains itself in a message box instead of doing its job.
// This object holds the button and the mode; the dialog (DialogBase) decides
// what each control's activation does in the mode.
#pragma once

#include <QCursor>
#include <QPointer>
#include <QToolButton>

#include <utility>
#include <vector>

class QWidget;

namespace lumivane {

struct DialogSettings;

inline constexpr const char* QUICK_HELP_TITLE = "Lumivane Help";
// Template id of the question-mark button in every dialog that has one.
inline constexpr int QUICK_HELP_ID = 1117;

class QuickHelp {
  public:
    QuickHelp(QWidget* dialog, const DialogSettings& settings);
    QuickHelp(const QuickHelp&) = delete;
    QuickHelp& operator=(const QuickHelp&) = delete;

    // The two-state button (id1117); it is down while the mode is on.
    QToolButton* button() const { return button_; }
    bool isActive() const { return active_; }

    // Mode on, button down, question-mark cursor over the dialog and its
    // controls when the cursors were made. Other windows (the help texts'
    // boxes, the About box) keep their own cursors.
    void enter();
    // Mode off, button up, normal cursor. The button changes without telling.
    void leave();

  private:
    void showButton(bool down);
    void restoreCursor();

    const DialogSettings& settings_;
    QPointer<QWidget> dialog_;
    QPointer<QToolButton> button_;
    // Controls with a cursor of their own (text fields), and that cursor.
    std::vector<std::pair<QPointer<QWidget>, QCursor>> ownCursors_;
    bool active_ = false;
    bool cursorShown_ = false;
};

} // namespace lumivane
