// Each kind of control of each dialog, driven with the pointer, the keys and
// the accessibility interface: in normal mode the dialog holds what the
// control shows, in quick-help mode the control explains itself and nothing
// changes, and after OK the data file holds what the controls showed.
#include "DialogTestSupport.h"
#include "InputDriver.h"
#include "ShownValues.h"

#include "../app/TestFolders.h"
#include "app/RunModes.h"
#include "app/SaverApp.h"
#include "patterns/StoreFile.h"
#include "ui/BackgroundColourDialog.h"
#include "ui/BankDialog.h"
#include "ui/ConfigDialog.h"
#include "ui/LayerDialog.h"
#include "ui/PreferencesDialog.h"
#include "view/KaleidoView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

namespace lumivane::test {
namespace {

using lumivane::testing::TempFolder;

enum class Where { Main, Layer, Banks, Preferences, Background };

using Operate = std::function<void(QWidget*, Input)>;

struct Row {
    const char* what;
    Where where;
    int id; // the control operated, whose help text quick-help mode shows
    Operate change;
    Operate ask = nullptr; // in quick-help mode, when not change
    // In quick-help mode: the control goes back to what it was, or (a slider,
    // a list) keeps its new value for the next apply, or (the banks dialog's
    // lists) shows the chosen pattern and explains itself when it closes.
    enum { Restored, Deferred, Acts } inHelp = Restored;
};

Operate toggles(int id) {
    return [id](QWidget* d, Input in) { toggle(controlOf<QAbstractButton>(d, id), in); };
}
Operate presses(int id) {
    return [id](QWidget* d, Input in) { press(controlOf<QAbstractButton>(d, id), in); };
}
Operate slides(int id, int value) {
    return [id, value](QWidget* d, Input in) { moveSlider(controlOf<QSlider>(d, id), value, in); };
}
Operate chooses(int id, int index) {
    return [id, index](QWidget* d, Input in) { choose(controlOf<QComboBox>(d, id), index, in); };
}

const std::vector<Row>& rows() {
    static const std::vector<Row> table = {
        {"check box", Where::Main, 1129, toggles(1129)},
        {"radio button", Where::Main, 1124, toggles(1124)},
        {"slider", Where::Main, 1106, slides(1106, 60), nullptr, Row::Deferred},
        {"drop-down list", Where::Main, 1112, chooses(1112, 2), nullptr, Row::Deferred},
        {"edit box", Where::Main, 1126,
         [](QWidget* d, Input in) { enterText(controlOf<QLineEdit>(d, 1126), "123", in); },
         [](QWidget* d, Input in) { focus(controlOf<QWidget>(d, 1126), in); }},
        {"push button", Where::Main, 1100, presses(1100)},
        {"quick-help button", Where::Main, 1117, nullptr, presses(1117)},
        {"check box", Where::Layer, 1060, toggles(1060)},
        {"radio button", Where::Layer, 1057, toggles(1057)},
        {"slider", Where::Layer, 1046, slides(1046, 80), nullptr, Row::Deferred},
        {"drop-down list", Where::Layer, 1045, chooses(1045, 5), nullptr, Row::Deferred},
        {"push button", Where::Layer, 1105, presses(1105)},
        {"check box", Where::Banks, 1148, toggles(1148)},
        {"drop-down list", Where::Banks, 1133, chooses(1133, 2), nullptr, Row::Acts},
        {"push button", Where::Banks, 1141,
         [](QWidget* d, Input in) {
             press(controlOf<QAbstractButton>(d, 1135), Input::Mouse);
             press(controlOf<QAbstractButton>(d, 1141), in);
         },
         presses(1141)},
        {"check box", Where::Preferences, 1115, toggles(1115)},
        {"radio button", Where::Background, 101, toggles(101)},
    };
    return table;
}

std::string names(const DataStore& store) {
    std::string text;
    for (int i = 0; i < store.count(); ++i)
        text += store.patternAt(i)->nameText() + '|';
    return text;
}

std::string names(const QComboBox* list) {
    return entriesOf(list).join('|').toStdString() + (list->count() > 0 ? "|" : "");
}

// One dialog under test, with what it holds and what its controls show, each
// as text.
struct Opened {
    std::unique_ptr<QDialog> dialog;
    std::function<std::string()> held;
    std::function<std::string()> shown;
    std::function<bool()> quickHelpOn;
    // A change that makes the dialog apply its controls.
    Operate apply;
};

Opened open(Where where, DialogWorld& world) {
    Opened o;
    switch (where) {
    case Where::Main: {
        auto* main = new ConfigDialog(world.context());
        o.dialog.reset(main);
        o.held = [main, &world] {
            return describe(main->workingPattern()) + " mode " +
                   std::to_string(world.store.fullScreenMode);
        };
        o.shown = [main] {
            const std::optional<Pattern> shown = shownPattern(*main);
            return (shown ? describe(*shown) : std::string("invalid")) + " mode " +
                   std::to_string(shownChoice(main, {1123, 1124, 1125, 1127}));
        };
        o.quickHelpOn = [main] { return main->quickHelpActive(); };
        o.apply = presses(1100);
        break;
    }
    case Where::Layer: {
        Pattern pattern;
        pattern.speed = 0;
        auto* editor = new LayerDialog(world.context(), pattern, Layer{});
        o.dialog.reset(editor);
        o.held = [editor] { return describe(editor->layer()); };
        o.shown = [editor] { return describe(shownLayer(*editor)); };
        o.quickHelpOn = [editor] { return editor->quickHelpActive(); };
        o.apply = toggles(1092);
        break;
    }
    case Where::Banks: {
        auto* banks = new BankDialog(world.context(), world.store);
        o.dialog.reset(banks);
        o.held = [banks] {
            return names(banks->set()) + " bank " + names(banks->bank()) + " showing " +
                   banks->setPreview()->pattern().nameText() + " running " +
                   std::to_string(!banks->setPreview()->isPaused());
        };
        o.shown = [banks] {
            const auto* setList = controlOf<QComboBox>(banks, 1133);
            return names(setList) + " bank " + names(controlOf<QComboBox>(banks, 1134)) +
                   " showing " + setList->currentText().toStdString() + " running " +
                   std::to_string(controlOf<QAbstractButton>(banks, 1148)->isChecked());
        };
        o.quickHelpOn = [banks] { return banks->quickHelpActive(); };
        break;
    }
    case Where::Preferences: {
        auto* preferences = new PreferencesDialog(Preferences{}, world.runner);
        o.dialog.reset(preferences);
        o.held = o.shown = [preferences] {
            return std::to_string(preferences->preferences().warnOnQuit);
        };
        break;
    }
    case Where::Background: {
        auto* background = new BackgroundColourDialog(world.context(), 0, 0);
        o.dialog.reset(background);
        o.held = o.shown = [background] {
            return std::to_string(shownChoice(background, {100, 101, 102}));
        };
        break;
    }
    }
    o.dialog->show();
    settle();
    return o;
}

QString helpTextOf(Where where, int id) {
    switch (where) {
    case Where::Main:
        return ConfigDialog::helpText(id);
    case Where::Layer:
        return LayerDialog::helpText(id);
    case Where::Banks:
        return BankDialog::helpText(id);
    default:
        return {};
    }
}

std::string traceOf(const Row& row, Input input) {
    return std::string(row.what) + " " + std::to_string(row.id) + " by " + nameOf(input);
}

TEST(InputPaths, InNormalModeTheDialogHoldsWhatTheControlShows) {
    for (const Row& row : rows()) {
        if (!row.change)
            continue;
        for (const Input input : ALL_INPUTS) {
            SCOPED_TRACE(traceOf(row, input));
            DialogWorld world;
            Opened opened = open(row.where, world);
            const std::string before = opened.held();
            row.change(opened.dialog.get(), input);
            waitFor([&] { return opened.held() != before; }, 500);
            settle();
            EXPECT_NE(opened.held(), before) << "the change was taken";
            EXPECT_EQ(opened.held(), opened.shown());
            EXPECT_TRUE(world.runner.shown.empty());
        }
    }
}

TEST(InputPaths, InQuickHelpModeEachControlExplainsItselfAndChangesNothing) {
    for (const Row& row : rows()) {
        if (helpTextOf(row.where, row.id).isEmpty())
            continue;
        for (const Input input : ALL_INPUTS) {
            SCOPED_TRACE(traceOf(row, input));
            DialogWorld world;
            Opened opened = open(row.where, world);
            QWidget* dialog = opened.dialog.get();
            ASSERT_TRUE(press(controlOf<QAbstractButton>(dialog, 1117), input));
            ASSERT_TRUE(opened.quickHelpOn());
            const std::string before = opened.held();
            world.runner.thenButton(QMessageBox::Ok);
            (row.ask ? row.ask : row.change)(dialog, input);
            waitFor([&] { return !world.runner.shown.empty(); }, 1000);
            settle();
            ASSERT_EQ(world.runner.shown.size(), 1u);
            EXPECT_EQ(world.runner.shown[0].title, "Lumivane Help");
            EXPECT_EQ(world.runner.shown[0].text, helpTextOf(row.where, row.id));
            EXPECT_FALSE(opened.quickHelpOn());
            EXPECT_FALSE(controlOf<QAbstractButton>(dialog, 1117)->isChecked());
            switch (row.inHelp) {
            case Row::Restored:
                EXPECT_EQ(opened.held(), before);
                EXPECT_EQ(opened.shown(), before) << "the control is as it was";
                break;
            case Row::Deferred:
                // The slider or list stays where it went; the next apply takes it.
                EXPECT_EQ(opened.held(), before);
                EXPECT_NE(opened.shown(), before);
                opened.apply(dialog, Input::Mouse);
                EXPECT_EQ(opened.held(), opened.shown());
                break;
            case Row::Acts:
                EXPECT_NE(opened.held(), before);
                EXPECT_EQ(opened.held(), opened.shown());
                break;
            }
        }
    }
}

class SavedAfterOk : public ::testing::Test {
  protected:
    void SetUp() override {
        lumivane::testing::testConfigHome();
        ensureApplication();
        ::setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
        ::setenv("XDG_DATA_DIRS", dataHome.path().c_str(), 1);
    }
    TempFolder dataHome;
};

// The dialogs' OK, then the configuration dialog's OK: the data file holds
// what the controls showed when OK was pressed.
TEST_F(SavedAfterOk, TheDataFileHoldsWhatTheControlsShowed) {
    const std::map<Where, int> opener = {{Where::Layer, 1094},
                                         {Where::Banks, 1144},
                                         {Where::Preferences, 1115},
                                         {Where::Background, 1007}};
    for (const Row& row : rows()) {
        if (!row.change)
            continue;
        for (const Input input : ALL_INPUTS) {
            SCOPED_TRACE(traceOf(row, input));
            std::filesystem::remove_all(dataHome.path() / "lumivane");
            ScriptedRunner runner;
            SaverApp app("lumivane-input-test", std::make_unique<NoSaverPlatform>());
            app.startUp({"x"});
            app.options().dialogs.warnOnQuit = false;
            ConfigDialog main(configurationContext(app, runner));
            main.show();
            settle();
            std::string expected;
            std::function<std::string(const DataStore&)> saved;
            if (row.where == Where::Main) {
                row.change(&main, input);
                settle();
                const std::optional<Pattern> shown = shownPattern(main);
                ASSERT_TRUE(shown);
                const int mode = shownChoice(&main, {1123, 1124, 1125, 1127});
                expected = describe(*shown) + " mode " + std::to_string(mode);
                saved = [](const DataStore& s) {
                    return describe(s.current) + " mode " + std::to_string(s.fullScreenMode);
                };
            } else {
                runner.then([&](QDialog& dialog) {
                    dialog.show();
                    settle();
                    row.change(&dialog, input);
                    settle();
                    if (auto* editor = qobject_cast<LayerDialog*>(&dialog))
                        expected = describe(shownLayer(*editor));
                    else if (qobject_cast<BankDialog*>(&dialog))
                        expected = names(controlOf<QComboBox>(&dialog, 1133));
                    else if (qobject_cast<PreferencesDialog*>(&dialog))
                        expected =
                            std::to_string(controlOf<QAbstractButton>(&dialog, 1115)->isChecked());
                    else
                        expected = std::to_string(shownChoice(&dialog, {100, 101, 102}));
                    controlOf<QAbstractButton>(&dialog, 1)->click();
                    return dialog.result();
                });
                press(controlOf<QAbstractButton>(&main, opener.at(row.where)), Input::Mouse);
                saved = [where = row.where](const DataStore& s) {
                    switch (where) {
                    case Where::Layer:
                        return describe(s.current.layers[0]);
                    case Where::Banks:
                        return names(s);
                    case Where::Preferences:
                        return std::to_string(s.warnOnQuit != 0);
                    default:
                        return std::to_string(s.current.backgroundMode);
                    }
                };
            }
            press(controlOf<QAbstractButton>(&main, 1), input);
            finishConfiguration(app, main.result() == QDialog::Accepted);
            app.shutDown();
            DataStore file;
            loadStoreFile((dataHome.path() / "lumivane" / "Lumivane.dat").string(), file);
            EXPECT_EQ(saved(file), expected);
            EXPECT_TRUE(runner.answers.empty());
        }
    }
}

} // namespace
} // namespace lumivane::test
