#include "DialogTestSupport.h"

#include "ui/ConfigDialog.h"
#include "ui/DropDownList.h"
#include "ui/NameText.h"
#include "view/KaleidoView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace lumivane::test {
namespace {

class ConfigDialogTest : public ::testing::Test {
  public:
    void SetUp() override { open(); }
    void TearDown() override { EXPECT_TRUE(world.runner.answers.empty()) << "answers left unused"; }

    // A fresh world and dialog, for each case of a table.
    void restart() {
        dialog.reset();
        world = DialogWorld();
        open();
    }
    void open() {
        dialog = std::make_unique<ConfigDialog>(world.context());
        dialog->show();
        settle();
    }
    template <typename Control = QWidget> Control* control(int id) {
        return controlOf<Control>(dialog.get(), id);
    }
    void click(int id) { control<QAbstractButton>(id)->click(); }
    void chooseFrom(int id, int index) {
        auto* list = control<DropDownList>(id);
        list->setCurrentIndex(index);
        emit list->activated(index);
        settle();
    }
    void closeList(int id) {
        control<DropDownList>(id)->hidePopup();
        settle();
    }
    void typeResetTime(const QString& text) {
        QLineEdit* edit = control<QLineEdit>(1126);
        edit->setText(text);
        emit edit->textEdited(text);
    }
    const Pattern& working() const { return dialog->workingPattern(); }
    QString lastText() const {
        return world.runner.shown.empty() ? QString() : world.runner.shown.back().text;
    }
    QStringList listEntries(int id) {
        QStringList entries;
        auto* list = control<DropDownList>(id);
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
        return entries;
    }

    DialogWorld world;
    std::unique_ptr<ConfigDialog> dialog;
};

TEST_F(ConfigDialogTest, OpensOnTheCurrentPatternWithEveryControlNamed) {
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Lumivane Kaleidoscopic Screensaver (V4.0a)");
    EXPECT_EQ(listEntries(1109), (QStringList{"First ", "Second ", "Third "}));
    EXPECT_EQ(listEntries(1112), (QStringList{"Circle", "Oval", "Rectangle", "Three Mirror"}));
    EXPECT_EQ(control<QLineEdit>(1000)->text(), "  6");
    EXPECT_EQ(control<QSlider>(1106)->value(), 10);
    EXPECT_TRUE(dialog->preview()->isEditorPreview());
    EXPECT_EQ(dialog->preview()->accessibleName(), "Preview");
    EXPECT_EQ(dialog->preview()->pattern(), working());
    for (const auto& [id, name] :
         std::vector<std::pair<int, const char*>>{{1106, "Size"},
                                                  {1108, "Balance"},
                                                  {1104, "Speed"},
                                                  {1028, "Rotation"},
                                                  {1029, "Animation Level"},
                                                  {1000, "Symmetry"},
                                                  {1126, "Reset Time"},
                                                  {1099, "Top amount"},
                                                  {1097, "Middle amount"},
                                                  {1095, "Bottom amount"},
                                                  {1117, "Quick help"},
                                                  {1121, "Save"},
                                                  {1129, "Dark Borders"},
                                                  {1127, "Cycle"}})
        EXPECT_EQ(control(id)->accessibleName().toStdString(), name) << id;
}

// Each command's effect on the working pattern, the preview and the store.
TEST_F(ConfigDialogTest, CommandsChangeTheWorkingPatternAndThePreview) {
    struct Case {
        const char* what;
        std::function<void(ConfigDialogTest&)> act;
        std::function<void(ConfigDialogTest&)> expect;
    };
    const std::vector<Case> cases = {
        {"size slider", [](auto& t) { t.template control<QSlider>(1106)->setValue(80); },
         [](auto& t) { EXPECT_EQ(t.working().imageSize, 80); }},
        {"bottom amount", [](auto& t) { t.template control<QSlider>(1095)->setValue(7); },
         [](auto& t) { EXPECT_EQ(t.working().amount[0], 7); }},
        {"symmetry up", [](auto& t) { t.click(1100); },
         [](auto& t) {
             EXPECT_EQ(t.working().symmetry, 7);
             EXPECT_EQ(t.template control<QLineEdit>(1000)->text(), "  7");
         }},
        {"symmetry down stops at 3",
         [](auto& t) {
             for (int i = 0; i < 5; ++i)
                 t.click(1101);
         },
         [](auto& t) { EXPECT_EQ(t.working().symmetry, 3); }},
        {"screen shape", [](auto& t) { t.chooseFrom(1112, 3); },
         [](auto& t) { EXPECT_EQ(t.working().screenShape, SCREEN_THREE_MIRROR); }},
        {"full-screen mode", [](auto& t) { t.click(1127); },
         [](auto& t) { EXPECT_EQ(t.world.store.fullScreenMode, FULLSCREEN_CYCLE); }},
        {"dark borders", [](auto& t) { t.click(1129); },
         [](auto& t) { EXPECT_EQ(t.working().darkBorders, 1); }},
        {"reset time", [](auto& t) { t.typeResetTime("120"); },
         [](auto& t) { EXPECT_EQ(t.working().resetTime, 120); }},
        {"choosing a pattern drops edits",
         [](auto& t) {
             t.template control<QSlider>(1106)->setValue(99);
             t.chooseFrom(1109, 2);
         },
         [](auto& t) {
             EXPECT_EQ(t.working(), *t.world.store.patternAt(2));
             EXPECT_EQ(t.world.store.currentIndex, 2);
             EXPECT_EQ(t.template control<QSlider>(1106)->value(), 30);
         }},
        {"randomise", [](auto& t) { t.click(1105); },
         [](auto& t) {
             EXPECT_NE(t.working().layers[0], Layer{});
             EXPECT_EQ(t.template control<QLineEdit>(1000)->text(),
                       "  " + QString::number(t.working().symmetry));
         }},
        {"delete keeps the controls",
         [](auto& t) {
             t.chooseFrom(1109, 1);
             t.click(1122);
         },
         [](auto& t) {
             EXPECT_EQ(t.world.store.count(), 2);
             EXPECT_EQ(t.world.store.currentIndex, 0);
             EXPECT_EQ(t.listEntries(1109), (QStringList{"First ", "Third "}));
             EXPECT_EQ(t.working().imageSize, 20);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        c.act(*this);
        c.expect(*this);
        // Typing a reset time only takes the value; the preview restarts on
        // the next change.
        if (std::string(c.what) != "reset time") {
            EXPECT_EQ(dialog->preview()->pattern(), working());
        }
    }
}

TEST_F(ConfigDialogTest, ResetTimeMustBeAWholeNumberInRange) {
    for (const auto& [typed, message] : std::vector<std::pair<QString, QString>>{
             {"", "Please enter an integer."},
             {"0", "Please enter an integer between 1 and 1000000."},
             {"1000001", "Please enter an integer between 1 and 1000000."}}) {
        world.runner.thenButton(QMessageBox::Ok);
        typeResetTime(typed);
        settle();
        EXPECT_EQ(lastText(), message);
        EXPECT_EQ(working().resetTime, 50);
    }
    world.runner.thenButton(QMessageBox::Ok);
    click(1); // OK stays open while the value is invalid
    settle();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    typeResetTime("1000000");
    click(1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(world.store.current.resetTime, 1000000);
}

TEST_F(ConfigDialogTest, SaveTwiceUnderOneNameAppendsTwoEntries) {
    for (int i = 0; i < 2; ++i) {
        world.runner.thenAccept([](QDialog& nameDialog) {
            nameDialog.findChild<QLineEdit*>("id1000")->setText("Spiral");
        });
        click(1121);
    }
    EXPECT_EQ(world.store.count(), 5);
    EXPECT_EQ(world.store.patternAt(3)->nameText(), "Spiral ");
    EXPECT_EQ(world.store.patternAt(4)->nameText(), "Spiral ");
    EXPECT_EQ(world.store.currentIndex, 4);
    EXPECT_EQ(control<DropDownList>(1109)->currentText(), "Spiral ");
    EXPECT_EQ(world.runner.shown.back().title, "Type a name for this pattern");

    world.runner.thenReject(); // Cancel in the name dialog saves nothing
    click(1121);
    EXPECT_EQ(world.store.count(), 5);
}

TEST_F(ConfigDialogTest, TheLastPatternCannotBeDeleted) {
    world.store.clear();
    world.store.addPattern(namedPattern("Only", 40));
    open();
    world.runner.thenButton(QMessageBox::Ok);
    click(1122);
    ASSERT_EQ(world.runner.shown.size(), 1u);
    EXPECT_EQ(world.runner.shown[0].title, "Error");
    EXPECT_EQ(world.runner.shown[0].text, "You cannot delete the last pattern!");
    EXPECT_EQ(world.runner.shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(world.store.count(), 1);
    EXPECT_EQ(listEntries(1109).size(), 1);
}

TEST_F(ConfigDialogTest, AnEmptyStoreGetsTheDefaultPattern) {
    world.store.clear();
    open();
    EXPECT_EQ(listEntries(1109), QStringList{"No Data"});
}

// One control of each kind shows its help instead of acting, and is left as
// it was.
TEST_F(ConfigDialogTest, QuickHelpShowsEachKindOfControlsText) {
    struct Case {
        const char* kind;
        int id;
        std::function<void(ConfigDialogTest&)> operate;
    };
    const std::vector<Case> cases = {
        {"push button", 1121, [](auto& t) { t.click(1121); }},
        {"radio button", 1124, [](auto& t) { t.click(1124); }},
        {"check box", 1129, [](auto& t) { t.click(1129); }},
        {"slider released", 1028,
         [](auto& t) {
             auto* slider = t.template control<QSlider>(1028);
             slider->setSliderDown(true);
             slider->setValue(90);
             slider->setSliderDown(false);
         }},
        {"list closed", 1112, [](auto& t) { t.closeList(1112); }},
        {"edit focused", 1126,
         [](auto& t) {
             QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
             QCoreApplication::sendEvent(t.template control(1126), &focus);
         }},
        {"OK", 1, [](auto& t) { t.click(1); }},
        {"Cancel", 2, [](auto& t) { t.click(2); }},
        {"Escape", 2, [](auto& t) { QTest::keyClick(t.dialog.get(), Qt::Key_Escape); }},
        {"help button pressed again", 1117, [](auto& t) { t.click(1117); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        restart();
        const Pattern before = working();
        click(1117);
        ASSERT_TRUE(dialog->quickHelpActive());
        world.runner.thenButton(QMessageBox::Ok);
        c.operate(*this);
        settle();
        ASSERT_EQ(world.runner.shown.size(), 1u);
        EXPECT_EQ(world.runner.shown[0].title, "Lumivane Help");
        EXPECT_EQ(world.runner.shown[0].icon, QMessageBox::Information);
        EXPECT_EQ(lastText(), ConfigDialog::helpText(c.id));
        EXPECT_FALSE(dialog->quickHelpActive());
        EXPECT_FALSE(control<QToolButton>(1117)->isChecked());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(working(), before);
        EXPECT_EQ(world.store.count(), 3);
        EXPECT_FALSE(control<QCheckBox>(1129)->isChecked());
        EXPECT_TRUE(control<QRadioButton>(1123)->isChecked());
    }
    EXPECT_EQ(ConfigDialog::helpText(1028).toStdString(),
              "Select rotation speed of kaleidoscope   \n"
              "(this affects how fast the pattern changes)  \n");
}

TEST_F(ConfigDialogTest, CancelAsksFirstWhenWarnOnQuitIsOn) {
    world.settings.warnOnQuit = true;
    open();
    world.runner.thenButton(QMessageBox::No);
    dialog->close(); // the window's close button
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(world.runner.shown.back().text, "Exit without saving changes?");
    EXPECT_EQ(world.runner.shown.back().title, "lumivane");
    EXPECT_EQ(world.runner.shown.back().icon, QMessageBox::Warning);
    world.runner.thenButton(QMessageBox::Yes);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(ConfigDialogTest, EnterClosesOnlyWhenOkIsTheDefault) {
    for (const bool keep : {true, false}) {
        world.settings.enterKeepsDialog = keep;
        open();
        QTest::keyClick(dialog.get(), Qt::Key_Return);
        EXPECT_EQ(dialog->isVisible(), keep);
        EXPECT_EQ(dialog->result(), keep ? QDialog::Rejected : QDialog::Accepted);
    }
}

TEST_F(ConfigDialogTest, PreferencesAreCopiedIntoTheStoreAfterOkAndCancel) {
    world.store.noTabMarks = 1;
    world.runner.thenReject();
    click(1115);
    EXPECT_EQ(world.store.noTabMarks, 0); // the working copy, unchanged
    EXPECT_EQ(world.runner.shown.back().title, "Lumivane Preferences");

    world.runner.thenAccept([](QDialog& preferences) {
        preferences.findChild<QCheckBox*>("id1116")->setChecked(true);
        preferences.findChild<QCheckBox*>("id1118")->setChecked(true);
    });
    click(1115);
    EXPECT_TRUE(world.settings.enterKeepsDialog);
    EXPECT_TRUE(world.display.showPatternName);
    EXPECT_EQ(world.store.enterKeepsDialog, 1);
    QTest::keyClick(dialog.get(), Qt::Key_Return); // the default button is the inert one now
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(ConfigDialogTest, NoTabMarksKeepsTheFocusOnTheSink) {
    world.settings.noTabMarks = true;
    open();
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog.get());
    click(1129);
    EXPECT_EQ(QApplication::focusWidget(), control(1093));
}

TEST_F(ConfigDialogTest, EveryModalPausesThePreview) {
    bool pausedWhileUp = false;
    world.runner.then([&](QDialog&) {
        pausedWhileUp = dialog->preview()->isPaused();
        return int(QDialog::Rejected);
    });
    click(1094); // the bottom layer's editor
    EXPECT_TRUE(pausedWhileUp);
    EXPECT_FALSE(dialog->preview()->isPaused());
}

TEST_F(ConfigDialogTest, NamesAreWindows1252) {
    world.runner.thenAccept([](QDialog& nameDialog) {
        auto* edit = nameDialog.findChild<QLineEdit*>("id1000");
        for (const QChar typed : QString::fromUtf8("Café €日")) // 日 is refused as typed
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(typed),
                                Qt::NoModifier);
        EXPECT_EQ(edit->text(), QString::fromUtf8("Café €"));
    });
    click(1121);
    EXPECT_EQ(world.store.patternAt(3)->nameText(), "Caf\xE9 \x80 ");
    EXPECT_EQ(control<DropDownList>(1109)->currentText(), QString::fromUtf8("Café € "));
}

} // namespace
} // namespace lumivane::test
