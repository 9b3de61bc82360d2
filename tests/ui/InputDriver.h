// Operating controls the three ways people and tools do: with the pointer,
// with the keys, and through the accessibility interface as a screen reader or
// a GUI robot does. Shared by the dialog tests and the interaction fuzzer;
// nothing here knows a test framework.
#pragma once

#include <QString>

#include <functional>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QSlider;
class QWidget;

namespace lumivane::test {

enum class Input { Mouse, Keyboard, Accessibility };
inline constexpr Input ALL_INPUTS[] = {Input::Mouse, Input::Keyboard, Input::Accessibility};
const char* nameOf(Input input);

// Runs pending events until done() or the time is up; whether done() held.
bool waitFor(const std::function<bool()>& done, int milliseconds = 3000);

// A push button (the question-mark button included): a click, Space, or the
// accessible Press (Toggle for a two-state button). Returns once the button
// has reported its click; false when it never did.
bool press(QAbstractButton* button, Input input);
// A check box changes its state; a radio button becomes checked (with the keys
// one arrow from the checked button of its group towards it, which checks the
// next button that way; Space when none is checked).
void toggle(QAbstractButton* button, Input input);
// Moves the slider towards value: a drag of its handle, one Page Up or Page
// Down, or the accessible value.
void moveSlider(QSlider* slider, int value, Input input);
// Presses the slider's handle and drags it by pixels without letting go.
void startDrag(QSlider* slider, int pixels);
// Chooses entry index of a drop-down list: in the opened list with the
// pointer or the keys, or through the list's accessible interface.
void choose(QComboBox* list, int index, Input input);
// Opens the list and closes it again without choosing.
void openAndClose(QComboBox* list, Input input);
// Gives the widget the focus: a click, Tab from the control before it, or the
// accessible SetFocus.
void focus(QWidget* widget, Input input);
// Puts text into an edit box: typed over what it holds, or set through the
// accessible text interface.
void enterText(QLineEdit* edit, const QString& text, Input input);

} // namespace lumivane::test
