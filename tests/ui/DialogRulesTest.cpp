// Rules the dialogs keep whatever drives them: they can be destroyed in any
// state, the read-only box stays read-only, hidden controls stay out of the
// accessibility tree, every list can be chosen from by an assistive tool,
// "No tab marks" keeps the keyboard out, and help texts keep their own lines.
#include "DialogTestSupport.h"
#include "InputDriver.h"
#include "ShownValues.h"

#include "ui/BackgroundColourDialog.h"
#include "ui/BankDialog.h"
#include "ui/ConfigDialog.h"
#include "ui/LayerDialog.h"
#include "ui/ModalRunner.h"
#include "ui/PreferencesDialog.h"
#include "view/KaleidoView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace lumivane::test {
namespace {

enum class Kind { Main, Layer, Banks };

std::unique_ptr<DialogBase> make(Kind kind, DialogWorld& world) {
    std::unique_ptr<DialogBase> dialog;
    switch (kind) {
    case Kind::Main:
        dialog = std::make_unique<ConfigDialog>(world.context());
        break;
    case Kind::Layer:
        dialog = std::make_unique<LayerDialog>(world.context(), Pattern{}, Layer{});
        break;
    case Kind::Banks:
        dialog = std::make_unique<BankDialog>(world.context(), world.store);
        break;
    }
    dialog->show();
    settle();
    return dialog;
}

// A button of each dialog that opens a modal, and a slider.
struct Parts {
    int modal;
    int slider;
};
const std::map<Kind, Parts> PARTS = {
    {Kind::Main, {1121, 1106}}, {Kind::Layer, {1051, 1046}}, {Kind::Banks, {1143, 0}}};

// Destroyed with quick help on, while a modal it opened runs (its answer
// destroys it), while a help text is up, and in the middle of a slider's drag:
// no crash, and the question-mark cursor shows over all of the dialog while the
// mode is on, and never over the rest of the program.
TEST(Teardown, ADialogCanBeDestroyedInAnyState) {
    for (const auto& [kind, parts] : PARTS) {
        for (const char* state : {"quick help", "modal", "help text", "slider drag", "OK"}) {
            SCOPED_TRACE(std::string(state) + " in dialog " + std::to_string(int(kind)));
            if (std::string(state) == "slider drag" && parts.slider == 0)
                continue;
            DialogWorld world;
            world.settings.helpCursor = QCursor(Qt::WhatsThisCursor);
            world.settings.helpCursorsReady = true;
            std::unique_ptr<DialogBase> dialog = make(kind, world);
            const auto destroy = [&](QDialog&) {
                dialog.reset();
                return int(QDialog::Rejected);
            };
            const std::string s = state;
            if (s == "quick help" || s == "OK") {
                press(controlOf<QAbstractButton>(dialog.get(), 1117), Input::Mouse);
                EXPECT_EQ(helpCursorOver(dialog.get()), HelpCursor::Everywhere);
                if (s == "OK" && kind != Kind::Main) {
                    // Without a help text of its own, OK ends the dialog and the mode.
                    press(controlOf<QAbstractButton>(dialog.get(), 1), Input::Keyboard);
                    EXPECT_EQ(dialog->result(), QDialog::Accepted);
                    EXPECT_EQ(helpCursorOver(dialog.get()), HelpCursor::Nowhere);
                }
                dialog.reset();
            } else if (s == "modal") {
                world.runner.then(destroy);
                press(controlOf<QAbstractButton>(dialog.get(), parts.modal), Input::Mouse);
            } else if (s == "help text") {
                press(controlOf<QAbstractButton>(dialog.get(), 1117), Input::Mouse);
                world.runner.then(destroy);
                press(controlOf<QAbstractButton>(dialog.get(), parts.modal), Input::Mouse);
            } else {
                startDrag(controlOf<QSlider>(dialog.get(), parts.slider), 20);
                dialog.reset();
            }
            settle();
            EXPECT_EQ(dialog, nullptr);
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        }
    }
}

// The configuration dialog destroyed from deep inside: a colour chooser of
// the layer editor it opened, and the preferences' refusal box.
TEST(Teardown, NestedModalsUnwindWhenTheOuterDialogGoes) {
    for (const int opener : {1094, 1115}) {
        SCOPED_TRACE(opener);
        DialogWorld world;
        auto dialog = std::make_unique<ConfigDialog>(world.context());
        dialog->show();
        world.runner.then([&](QDialog& inner) {
            inner.show();
            world.runner.then([&](QDialog&) {
                dialog.reset();
                return int(QDialog::Rejected);
            });
            if (opener == 1094)
                press(controlOf<QAbstractButton>(&inner, 1051), Input::Mouse);
            else
                toggle(controlOf<QAbstractButton>(&inner, 1112), Input::Keyboard);
            settle(); // the refusal shows
            return int(QDialog::Rejected);
        });
        press(controlOf<QAbstractButton>(dialog.get(), opener), Input::Mouse);
        settle();
        EXPECT_EQ(dialog, nullptr);
    }
}

// Typing, an assistive tool's text and its text editing all leave the box as
// the dialog wrote it; what is read stays in 3..20.
TEST(SymmetryBox, StaysReadOnlyForEveryInput) {
    DialogWorld world;
    ConfigDialog dialog(world.context());
    dialog.show();
    auto* box = controlOf<QLineEdit>(&dialog, 1000);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
    for (const Input input : ALL_INPUTS)
        enterText(box, "99", input);
    accessible->editableTextInterface()->insertText(0, "1");
    accessible->editableTextInterface()->replaceText(0, 3, "-7");
    EXPECT_EQ(box->text(), "  6");
    press(controlOf<QAbstractButton>(&dialog, 1100), Input::Mouse);
    EXPECT_EQ(dialog.workingPattern().symmetry, 7);

    // A symmetry the engine would not draw, from a file, shows as the one it draws.
    world.store.current.symmetry = 99;
    ConfigDialog fromFile(world.context());
    EXPECT_EQ(controlOf<QLineEdit>(&fromFile, 1000)->text(), "  20");
}

// Every accessible object under the dialog, depth first.
void collect(QAccessibleInterface* node, std::vector<QAccessibleInterface*>& all) {
    all.push_back(node);
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i))
            collect(child, all);
    }
}

TEST(Accessibility, HiddenControlsAreNotListedAndEveryButtonHasAName) {
    DialogWorld world;
    ConfigDialog main(world.context());
    BackgroundColourDialog background(world.context(), 0, 0);
    for (QDialog* dialog : {static_cast<QDialog*>(&main), static_cast<QDialog*>(&background)}) {
        dialog->show();
        std::vector<QAccessibleInterface*> all;
        collect(QAccessible::queryAccessibleInterface(dialog), all);
        QStringList buttons;
        for (QAccessibleInterface* node : all) {
            if (node->role() == QAccessible::PushButton)
                buttons << node->text(QAccessible::Name);
        }
        EXPECT_EQ(buttons.count("OK"), 1) << buttons.join(',').toStdString();
        EXPECT_EQ(buttons.count("Cancel"), 1);
        EXPECT_FALSE(buttons.contains(QString())) << "an unnamed button";
    }

    // The layer editor's inner groups are named by their own captions.
    LayerDialog editor(world.context(), Pattern{}, Layer{});
    QStringList groups;
    for (QGroupBox* group : editor.findChild<QWidget*>("shape2")->findChildren<QGroupBox*>())
        groups << QAccessible::queryAccessibleInterface(group)->text(QAccessible::Name);
    EXPECT_EQ(groups, (QStringList{"Shape / Ratio", "Colour", "Size", "Angle", "Animate"}));
}

// All seven lists take a choice through their accessible interface, and keep
// out of the Tab key's way.
TEST(Accessibility, EveryListCanBeChosenFrom) {
    DialogWorld world;
    ConfigDialog main(world.context());
    LayerDialog editor(world.context(), Pattern{}, Layer{});
    BankDialog banks(world.context(), world.store);
    banks.show();
    press(controlOf<QAbstractButton>(&banks, 1136), Input::Mouse);
    const std::vector<std::pair<QDialog*, int>> lists = {
        {&main, 1112},   {&main, 1109},  {&editor, 1045}, {&editor, 1071},
        {&editor, 1087}, {&banks, 1133}, {&banks, 1134}};
    for (const auto& [dialog, id] : lists) {
        SCOPED_TRACE(id);
        auto* list = controlOf<QComboBox>(dialog, id);
        dialog->show();
        const int wanted = list->currentIndex() == 2 ? 1 : 2;
        choose(list, wanted, Input::Accessibility);
        EXPECT_EQ(list->currentIndex(), wanted);
        EXPECT_EQ(list->focusPolicy(), Qt::ClickFocus);
    }
    EXPECT_EQ(main.workingPattern(), *world.store.patternAt(2));
    EXPECT_EQ(banks.bankPreview()->pattern(), *world.store.patternAt(2));
}

// The empty bank list explains itself too, though no list opens.
TEST(QuickHelp, TheEmptyBankListExplainsItself) {
    DialogWorld world;
    BankDialog banks(world.context(), world.store);
    banks.show();
    press(controlOf<QAbstractButton>(&banks, 1117), Input::Mouse);
    world.runner.thenButton(QMessageBox::Ok);
    openAndClose(controlOf<QComboBox>(&banks, 1134), Input::Mouse);
    settle();
    ASSERT_EQ(world.runner.shown.size(), 1u);
    EXPECT_EQ(world.runner.shown[0].text, BankDialog::helpText(1134));
    EXPECT_FALSE(banks.quickHelpActive());
}

// With "No tab marks" the keyboard cannot move between controls; the focus
// stays where no control shows a mark.
TEST(NoTabMarks, TabDoesNotMoveBetweenControls) {
    for (const Kind kind : {Kind::Main, Kind::Layer, Kind::Banks}) {
        SCOPED_TRACE(int(kind));
        DialogWorld world;
        world.settings.noTabMarks = true;
        std::unique_ptr<DialogBase> dialog = make(kind, world);
        QApplication::setActiveWindow(dialog.get());
        QWidget* sink = controlOf<QWidget>(dialog.get(), 1093);
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Tab})
            QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(QApplication::focusWidget(), sink);
    }
}

// Tab goes down the left column, then down the right one, group by group.
TEST(TabOrder, FollowsThePlacesOfTheControls) {
    DialogWorld world;
    ConfigDialog dialog(world.context());
    dialog.show();
    QList<int> order;
    QWidget* at = controlOf<QWidget>(&dialog, 1);
    do {
        if ((at->focusPolicy() & Qt::TabFocus) && at->isVisible())
            order << at->objectName().mid(2).toInt();
        at = at->nextInFocusChain();
    } while (at != controlOf<QWidget>(&dialog, 1));
    EXPECT_EQ(order, (QList<int>{1,    2,    1117, 1029, 1106, 1108, 1101, 1000, 1100, 1104,
                                 1028, 1126, 1121, 1122, 1144, 1123, 1124, 1125, 1127, 1115,
                                 1105, 1132, 1098, 1099, 1096, 1097, 1094, 1095, 1007, 1129}));
}

// At a 15-point font the long help texts keep the line breaks they were
// written with.
TEST(HelpBox, KeepsTheTextsOwnLinesAtALargeFont) {
    DialogWorld world;
    const QFont before = QApplication::font();
    QFont large = before;
    large.setPointSize(15);
    QApplication::setFont(large);
    QWidget owner;
    int lines = 0;
    world.runner.then([&](QDialog& box) {
        box.show();
        settle();
        const auto* label = box.findChild<QLabel*>("qt_msgbox_label");
        EXPECT_FALSE(label->wordWrap());
        lines = label->height() / QFontMetrics(label->font()).lineSpacing();
        return int(QMessageBox::Ok);
    });
    const QString text = ConfigDialog::helpText(1007);
    showMessage(world.runner, &owner, QMessageBox::Information, "Lumivane Help", text);
    QApplication::setFont(before);
    EXPECT_EQ(lines, text.count('\n') + 1);
}

} // namespace
} // namespace lumivane::test
