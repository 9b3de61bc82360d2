#include "InputDriver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace lumivane::test {
namespace {

QAccessibleActionInterface* actionsOf(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->actionInterface() : nullptr;
}

void doAction(QWidget* widget, const QString& action) {
    if (QAccessibleActionInterface* actions = actionsOf(widget))
        actions->doAction(action);
}

// Key presses go where the keyboard focus is, in an active window.
void focusForKeys(QWidget* widget) {
    QWidget* window = widget->window();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    widget->setFocus(Qt::OtherFocusReason);
}

void key(QWidget* widget, Qt::Key pressed, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : widget;
    QTest::keyClick(target, pressed, modifiers);
}

QRect handleOf(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = slider->orientation();
    option.maximum = slider->maximum();
    option.minimum = slider->minimum();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.upsideDown = slider->orientation() == Qt::Horizontal
                            ? slider->invertedAppearance() != (option.direction == Qt::RightToLeft)
                            : !slider->invertedAppearance();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                           slider);
}

// Where a check box or radio button takes a click: its indicator.
QPoint indicatorOf(QAbstractButton* button) {
    return {qMin(8, button->width() / 2), button->height() / 2};
}

} // namespace

const char* nameOf(Input input) {
    switch (input) {
    case Input::Mouse:
        return "mouse";
    case Input::Keyboard:
        return "keyboard";
    case Input::Accessibility:
        return "accessibility";
    }
    return "?";
}

bool waitFor(const std::function<bool()>& done, int milliseconds) {
    return QTest::qWaitFor(done, milliseconds);
}

bool press(QAbstractButton* button, Input input) {
    // The click may end the button's dialog, and the button with it.
    const QPointer<QAbstractButton> pressed(button);
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    switch (input) {
    case Input::Mouse:
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
        break;
    case Input::Keyboard:
        focusForKeys(button);
        QTest::keyClick(button, Qt::Key_Space);
        break;
    case Input::Accessibility: {
        // Press clicks after a moment (an animated click); Toggle at once.
        QAccessibleActionInterface* actions = actionsOf(button);
        if (actions == nullptr)
            return false;
        const QStringList names = actions->actionNames();
        actions->doAction(names.contains(QAccessibleActionInterface::pressAction())
                              ? QAccessibleActionInterface::pressAction()
                              : QAccessibleActionInterface::toggleAction());
        if (!names.contains(QAccessibleActionInterface::pressAction()))
            return true;
        break;
    }
    }
    return clicked.count() > 0 || !pressed ||
           waitFor([&] { return clicked.count() > 0 || !pressed; });
}

void toggle(QAbstractButton* button, Input input) {
    switch (input) {
    case Input::Mouse:
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, indicatorOf(button));
        break;
    case Input::Keyboard: {
        // In a radio group an arrow moves from the checked button towards this
        // one and checks the button it reaches; elsewhere Space.
        QAbstractButton* checked =
            button->group() != nullptr ? button->group()->checkedButton() : nullptr;
        if (checked != nullptr && checked != button) {
            focusForKeys(checked);
            const QPoint way = button->mapToGlobal(button->rect().center()) -
                               checked->mapToGlobal(checked->rect().center());
            key(checked, qAbs(way.x()) > qAbs(way.y())
                             ? (way.x() > 0 ? Qt::Key_Right : Qt::Key_Left)
                             : (way.y() > 0 ? Qt::Key_Down : Qt::Key_Up));
        } else {
            focusForKeys(button);
            key(button, Qt::Key_Space);
        }
        break;
    }
    case Input::Accessibility:
        doAction(button, QAccessibleActionInterface::toggleAction());
        break;
    }
}

void moveSlider(QSlider* slider, int value, Input input) {
    switch (input) {
    case Input::Mouse: {
        const QPoint from = handleOf(slider).center();
        const int span =
            slider->orientation() == Qt::Horizontal ? slider->width() : slider->height();
        const int range = qMax(1, slider->maximum() - slider->minimum());
        int pixels = (value - slider->value()) * span / range;
        if (slider->orientation() == Qt::Vertical)
            pixels = -pixels;
        if (slider->invertedAppearance())
            pixels = -pixels;
        const QPoint to = slider->orientation() == Qt::Horizontal ? from + QPoint(pixels, 0)
                                                                  : from + QPoint(0, pixels);
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(slider, (from + to) / 2);
        QTest::mouseMove(slider, to);
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, to);
        break;
    }
    case Input::Keyboard:
        // One key: Page Up raises the value by a page whatever the slider's look.
        focusForKeys(slider);
        key(slider, value > slider->value() ? Qt::Key_PageUp : Qt::Key_PageDown);
        break;
    case Input::Accessibility:
        if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(slider)) {
            if (QAccessibleValueInterface* values = accessible->valueInterface())
                values->setCurrentValue(value);
        }
        break;
    }
}

void startDrag(QSlider* slider, int pixels) {
    const QPoint from = handleOf(slider).center();
    const QPoint to = slider->orientation() == Qt::Horizontal ? from + QPoint(pixels, 0)
                                                              : from + QPoint(0, pixels);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(slider, to);
}

void choose(QComboBox* list, int index, Input input) {
    switch (input) {
    case Input::Mouse: {
        QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, list->rect().center());
        QAbstractItemView* view = list->view();
        if (!waitFor([view] { return view->isVisible(); }, 1000))
            return;
        const QModelIndex entry = view->model()->index(index, list->modelColumn());
        view->scrollTo(entry);
        const QPoint at = view->visualRect(entry).center();
        QTest::mouseMove(view->viewport(), at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        break;
    }
    case Input::Keyboard: {
        focusForKeys(list);
        key(list, Qt::Key_Down, Qt::AltModifier);
        QAbstractItemView* view = list->view();
        if (!view->isVisible())
            return;
        const int from = view->currentIndex().row();
        for (int i = from; i < index; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        for (int i = from; i > index; --i)
            QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        break;
    }
    case Input::Accessibility: {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list);
        QAccessibleInterface* entries = accessible != nullptr ? accessible->child(0) : nullptr;
        QAccessibleInterface* entry = entries != nullptr ? entries->child(index) : nullptr;
        if (entry != nullptr && entry->actionInterface() != nullptr)
            entry->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        break;
    }
    }
    QCoreApplication::processEvents();
}

void openAndClose(QComboBox* list, Input input) {
    switch (input) {
    case Input::Mouse:
        QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, list->rect().center());
        if (list->view()->isVisible()) {
            // A click outside the open list closes it.
            QTest::mouseClick(list->view()->window(), Qt::LeftButton, Qt::NoModifier,
                              QPoint(-5, -5));
        }
        break;
    case Input::Keyboard:
        focusForKeys(list);
        key(list, Qt::Key_Down, Qt::AltModifier);
        if (list->view()->isVisible())
            QTest::keyClick(list->view(), Qt::Key_Escape);
        break;
    case Input::Accessibility:
        // The list's own action opens it, and again closes it.
        doAction(list, QAccessibleActionInterface::showMenuAction());
        if (list->view()->isVisible())
            doAction(list, QAccessibleActionInterface::showMenuAction());
        break;
    }
    QCoreApplication::processEvents();
}

void focus(QWidget* widget, Input input) {
    switch (input) {
    case Input::Mouse:
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
        break;
    case Input::Keyboard: {
        QWidget* before = widget->previousInFocusChain();
        while (before != widget && !(before->focusPolicy() & Qt::TabFocus && before->isVisible()))
            before = before->previousInFocusChain();
        focusForKeys(before);
        key(before, Qt::Key_Tab);
        break;
    }
    case Input::Accessibility:
        doAction(widget, QAccessibleActionInterface::setFocusAction());
        break;
    }
}

void enterText(QLineEdit* edit, const QString& text, Input input) {
    switch (input) {
    case Input::Mouse:
    case Input::Keyboard:
        focusForKeys(edit);
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
        break;
    case Input::Accessibility:
        if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(edit))
            accessible->setText(QAccessible::Value, text);
        break;
    }
}

} // namespace lumivane::test
