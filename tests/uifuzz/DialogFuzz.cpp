#include "DialogFuzz.h"

#include "../ui/ShownValues.h"
#include "engine/Random.h"
#include "patterns/StoreFile.h"
#include "ui/AboutDialog.h"
#include "ui/BackgroundColourDialog.h"
#include "ui/BankDialog.h"
#include "ui/ConfigControls.h"
#include "ui/ConfigDialog.h"
#include "ui/LayerDialog.h"
#include "ui/NameText.h"
#include "ui/PatternNameDialog.h"
#include "ui/PreferencesDialog.h"
#include "view/KaleidoView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace lumivane::test {
namespace {

std::string nameOf(const QWidget* widget) {
    return widget->objectName().toStdString();
}

QStringList namesIn(const DataStore& store) {
    QStringList names;
    for (int i = 0; i < store.count(); ++i)
        names << nameText(*store.patternAt(i));
    return names;
}

// The controls of dialog a user can operate: ours are named "id" + their
// template id.
std::vector<QWidget*> operable(QDialog& dialog) {
    std::vector<QWidget*> controls;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (!widget->objectName().startsWith(QLatin1String("id")) || widget->window() != &dialog ||
            !widget->isVisible() || !widget->isEnabled())
            continue;
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QSlider*>(widget) ||
            qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget))
            controls.push_back(widget);
    }
    return controls;
}

} // namespace

void runPendingEvents() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

DialogFuzzer::DialogFuzzer(std::uint32_t seed, int steps, bool verbose)
    : random_(seed), seed_(seed), steps_(steps), verbose_(verbose),
      mainScene_(std::make_unique<Scene>()), editorScene_(std::make_unique<Scene>()) {
    patternPath_ = QString::fromStdString(folder_.slashed());
    settings_.helpCursor = QCursor(Qt::WhatsThisCursor);
    settings_.helpCursorsReady = true;
    context_ = DialogContext{&settings_,
                             &display_,
                             &store_,
                             mainScene_.get(),
                             editorScene_.get(),
                             this,
                             QStringLiteral("lumivane"),
                             [this] { return patternPath_; },
                             [this](const QString& folder) { patternPath_ = folder; }};
    // Bank files to load: a good one, and one that is no pattern file.
    DataStore bank;
    for (const char* name : {"Alpha ", "Beta ", "Gamma "}) {
        Pattern pattern;
        pattern.setNameText(name);
        pattern.imageSize = int(std::string(name).size()) * 7;
        bank.addPattern(pattern);
    }
    saveStoreFile((folder_.path() / "good.pat").string(), bank);
    std::ofstream(folder_.path() / "notes.txt") << "Just some notes.\n";
    std::ofstream(folder_.path() / "plain") << "a file, not a folder";
    store_.resetToDefaults();
    sharedRandom().seed(seed);
}

DialogFuzzer::~DialogFuzzer() = default;

int DialogFuzzer::pick(int count) {
    return count <= 1 ? 0 : std::uniform_int_distribution<int>(0, count - 1)(random_);
}

bool DialogFuzzer::chance(int percent) {
    return pick(100) < percent;
}

// Presses by the accessibility interface are animated clicks that take a
// tenth of a second: fewer of those keep the run short.
Input DialogFuzzer::anyInput() {
    return ALL_INPUTS[pick(3)];
}

void DialogFuzzer::note(const std::string& what) {
    std::string line = "step " + std::to_string(step_) + ": " + std::string(depth_ * 2, ' ') + what;
    if (verbose_) {
        static QElapsedTimer clock;
        if (!clock.isValid())
            clock.start();
        std::printf("%6lld %s\n", clock.elapsed(), line.c_str());
    }
    log_.push_back(std::move(line));
}

// The first failure ends the run: the seed and the actions that led there.
void DialogFuzzer::fail(const std::string& why) {
    std::printf("dialog fuzz: seed %u failed at step %d: %s\nThe actions, from the start:\n", seed_,
                step_, why.c_str());
    for (const std::string& line : log_)
        std::printf("  %s\n", line.c_str());
    std::printf("Again with: test_dialog_fuzz --seed %u --steps %d\n", seed_, step_);
    std::fflush(stdout);
    std::_Exit(1);
}

bool DialogFuzzer::run() {
    while (step_ < steps_) {
        if (!main_) {
            note("opens the configuration dialog");
            main_ = std::make_unique<ConfigDialog>(context_);
            main_->show();
            runPendingEvents();
        }
        act(*main_);
        if (main_ && !main_->isVisible()) {
            note(main_->result() == QDialog::Accepted ? "the configuration dialog ended with OK"
                                                      : "the configuration dialog ended");
            main_.reset();
            if (QApplication::overrideCursor() != nullptr)
                fail("a cursor for the whole program was left behind");
        }
    }
    main_.reset();
    runPendingEvents();
    std::printf("dialog fuzz: seed %u, %d steps, all checks held\n", seed_, step_);
    return true;
}

// ---- Actions ---------------------------------------------------------------

void DialogFuzzer::act(QDialog& dialog) {
    ++step_;
    const QPointer<QDialog> alive(&dialog);
    auto* main = qobject_cast<ConfigDialog*>(&dialog);
    auto* base = qobject_cast<DialogBase*>(&dialog);
    const bool quickHelpWasOn = base != nullptr && base->quickHelpActive();
    const std::optional<Pattern> shownBefore = main ? shownPattern(*main) : std::nullopt;
    const int modeBefore = main ? shownChoice(main, {1123, 1124, 1125, 1127}) : -1;

    const int roll = pick(100);
    QWidget* control = nullptr;
    if (roll < 5) {
        pressKey(dialog);
    } else if (roll < 6 && main != nullptr) {
        note("destroys the configuration dialog");
        main_.reset();
        return;
    } else if (roll < 8 && qobject_cast<PreferencesDialog*>(&dialog)) {
        note("moves the pointer over the dialog");
        QTest::mouseMove(&dialog, QPoint(2, 2));
    } else if (roll < 10 && qobject_cast<BackgroundColourDialog*>(&dialog)) {
        const QColor colour = QColor::fromRgb(pick(256), pick(256), pick(256));
        note("picks colour " + colour.name().toStdString());
        dialog.findChild<QColorDialog*>()->setCurrentColor(colour);
    } else {
        const std::vector<QWidget*> controls = operable(dialog);
        if (controls.empty())
            return pressKey(dialog);
        control = controls[pick(int(controls.size()))];
        operate(dialog, control);
    }
    runPendingEvents();
    if (!alive)
        return;
    if (main != nullptr && !main->isVisible() && main->result() == QDialog::Accepted &&
        shownBefore) {
        // OK took what the controls showed.
        if (describe(store_.current) != describe(*shownBefore) ||
            store_.fullScreenMode != modeBefore)
            fail("OK kept " + describe(store_.current) + " while the controls showed " +
                 describe(*shownBefore));
    }
    if (!dialog.isVisible())
        return;
    if (control != nullptr)
        noteDeferral(dialog, control, quickHelpWasOn);
    check(dialog);
}

void DialogFuzzer::operate(QDialog& dialog, QWidget* control) {
    const Input input = anyInput();
    const std::string how = std::string(" by ") + nameOf(input);
    if (auto* slider = qobject_cast<QSlider*>(control)) {
        if (chance(12)) {
            const int pixels = pick(61) - 30;
            note("drags " + nameOf(slider) + " by " + std::to_string(pixels) + " pixels");
            startDrag(slider, pixels);
            runPendingEvents();
            if (&dialog == main_.get() && chance(25)) {
                note("destroys the configuration dialog in the middle of the drag");
                main_.reset();
                return;
            }
            if (qobject_cast<LayerDialog*>(&dialog) != nullptr && chance(50))
                return; // let go later, or never
            QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, slider->rect().center());
            note("lets go of " + nameOf(slider));
            return;
        }
        const int value = pick(101);
        note("moves " + nameOf(slider) + " towards " + std::to_string(value) + how);
        moveSlider(slider, value, input);
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        if (list->count() == 0 || chance(25)) {
            note("opens and closes " + nameOf(list) + how);
            openAndClose(list, input);
        } else {
            const int index = pick(list->count());
            note("chooses entry " + std::to_string(index) + " of " + nameOf(list) + how);
            choose(list, index, input);
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (chance(30)) {
            note("focuses " + nameOf(edit) + how);
            focus(edit, input);
        } else {
            const char* odd[] = {"", "0", "1000001", "99999999999", "12a"};
            const QString text =
                chance(80) ? QString::number(1 + pick(2000)) : QString::fromLatin1(odd[pick(5)]);
            note("enters \"" + text.toStdString() + "\" into " + nameOf(edit) + how);
            enterText(edit, text, input);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        const bool pushed = qobject_cast<QToolButton*>(button) || !button->isCheckable();
        if (pushed) {
            // Animated clicks take a tenth of a second: not too many.
            const Input pressing =
                input == Input::Accessibility && !chance(30) ? Input::Mouse : input;
            note("presses " + nameOf(button) + " \"" + button->text().toStdString() + "\" by " +
                 test::nameOf(pressing));
            press(button, pressing);
        } else {
            note("toggles " + nameOf(button) + " \"" + button->text().toStdString() + "\"" + how);
            toggle(button, input);
        }
    }
}

void DialogFuzzer::pressKey(QDialog& dialog) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* name;
    } keys[] = {{Qt::Key_Return, Qt::NoModifier, "Enter"},
                {Qt::Key_Escape, Qt::NoModifier, "Escape"},
                {Qt::Key_Tab, Qt::NoModifier, "Tab"},
                {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
                {Qt::Key_F1, Qt::NoModifier, "F1"},
                {Qt::Key_F1, Qt::ControlModifier, "Ctrl+F1"}};
    const auto& chosen = keys[pick(6)];
    note(std::string("presses ") + chosen.name);
    dialog.activateWindow();
    QApplication::setActiveWindow(&dialog);
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr || target->window() != &dialog)
        target = &dialog;
    const QPointer<QDialog> alive(&dialog);
    QTest::keyClick(target, chosen.key, chosen.modifiers);
    runPendingEvents();
    if (!alive || !dialog.isVisible())
        return;
    if (qobject_cast<DialogBase*>(&dialog) != nullptr && settings_.noTabMarks &&
        (chosen.key == Qt::Key_Tab || chosen.key == Qt::Key_Backtab) &&
        QApplication::focusWidget() != controlIn(&dialog, 1093))
        fail("Tab moved the focus with \"No tab marks\" on");
}

// ---- Checks ----------------------------------------------------------------

void DialogFuzzer::noteDeferral(QDialog& dialog, QWidget* control, bool quickHelpWasOn) {
    auto* base = qobject_cast<DialogBase*>(&dialog);
    if (base == nullptr)
        return;
    auto* slider = qobject_cast<QSlider*>(control);
    const bool list =
        qobject_cast<QComboBox*>(control) != nullptr && control != controlIn(&dialog, 1109);
    const bool editor = qobject_cast<LayerDialog*>(&dialog) != nullptr;
    if (((slider || list) && quickHelpWasOn) || (editor && slider && slider->isSliderDown()))
        deferred_[&dialog] = base->readCount();
}

void DialogFuzzer::check(QDialog& dialog) {
    if (auto* main = qobject_cast<ConfigDialog*>(&dialog))
        checkMain(*main);
    else if (auto* editor = qobject_cast<LayerDialog*>(&dialog))
        checkLayer(*editor);
    else if (auto* banks = qobject_cast<BankDialog*>(&dialog))
        checkBanks(*banks);
    else if (auto* preferences = qobject_cast<PreferencesDialog*>(&dialog))
        checkPreferences(*preferences);
    if (auto* base = qobject_cast<DialogBase*>(&dialog)) {
        if (controlIn<QAbstractButton>(base, 1117)->isChecked() != base->quickHelpActive())
            fail("the question-mark button does not show the mode");
    }
}

void DialogFuzzer::checkMain(ConfigDialog& dialog) {
    const auto deferral = deferred_.find(&dialog);
    const bool deferred = deferral != deferred_.end() && dialog.readCount() <= deferral->second;
    if (deferral != deferred_.end() && !deferred)
        deferred_.erase(deferral);
    if (entriesOf(controlIn<QComboBox>(&dialog, 1109)) != namesIn(store_))
        fail("the pattern list does not show the stored patterns");
    if (helpCursorOver(&dialog) !=
        (dialog.quickHelpActive() ? HelpCursor::Everywhere : HelpCursor::Nowhere))
        fail("the cursor does not show the quick-help mode");
    if (dialog.preview()->isPaused())
        fail("the preview stayed paused");
    const int mode = shownChoice(&dialog, {1123, 1124, 1125, 1127});
    if (mode != store_.fullScreenMode)
        fail("the mode buttons show " + std::to_string(mode) + ", the store holds " +
             std::to_string(store_.fullScreenMode));
    const std::optional<Pattern> shown = shownPattern(dialog);
    if (!shown)
        return; // an invalid reset time: nothing is read until it is mended
    Pattern held = dialog.workingPattern();
    if (deferred) {
        for (const SliderDef& slider : SLIDERS)
            slider.of(held) = slider.of(*shown);
        held.screenShape = shown->screenShape;
    }
    if (describe(held) != describe(*shown))
        fail("the dialog holds " + describe(held) + " while its controls show " + describe(*shown));
}

void DialogFuzzer::checkLayer(LayerDialog& dialog) {
    const auto deferral = deferred_.find(&dialog);
    const bool deferred = deferral != deferred_.end() && dialog.readCount() <= deferral->second;
    if (deferral != deferred_.end() && !deferred)
        deferred_.erase(deferral);
    const Layer shown = shownLayer(dialog);
    Layer held = dialog.layer();
    if (deferred) {
        for (int slot = 0; slot < SLOTS_PER_LAYER; ++slot) {
            held.shape[slot] = shown.shape[slot];
            held.ratio[slot] = shown.ratio[slot];
            held.size[slot] = shown.size[slot];
            held.animate[slot] = shown.animate[slot];
        }
    }
    if (describe(held) != describe(shown))
        fail("the layer editor holds " + describe(held) + " while its controls show " +
             describe(shown));
    if (dialog.preview()->isPaused())
        fail("the layer editor's preview stayed paused");
}

void DialogFuzzer::checkBanks(BankDialog& dialog) {
    const auto* setList = controlIn<QComboBox>(&dialog, 1133);
    const auto* bankList = controlIn<QComboBox>(&dialog, 1134);
    if (entriesOf(setList) != namesIn(dialog.set()) ||
        entriesOf(bankList) != namesIn(dialog.bank()))
        fail("the banks dialog's lists do not show its set and bank");
    for (const auto& [list, store, preview, box] :
         {std::tuple{setList, &dialog.set(), dialog.setPreview(), 1148},
          std::tuple{bankList, &dialog.bank(), dialog.bankPreview(), 1149}}) {
        const Pattern* selected = store->patternAt(list->currentIndex());
        const bool right = selected != nullptr ? preview->pattern() == *selected
                                               : preview->pattern().amount[0] == 0;
        if (!right)
            fail("a preview does not show the pattern its list shows");
        if (preview->isPaused() == controlIn<QAbstractButton>(&dialog, box)->isChecked())
            fail("a preview runs other than its animate box says");
    }
}

void DialogFuzzer::checkPreferences(PreferencesDialog& dialog) {
    bool& couldBeOn = noTabMarksAtStart_[&dialog];
    const bool on = controlIn<QAbstractButton>(&dialog, 1112)->isChecked();
    if (on && !couldBeOn && !dialog.mouseSeen())
        fail("\"No tab marks\" was checked before the pointer crossed the dialog");
    couldBeOn = on;
}

} // namespace lumivane::test
