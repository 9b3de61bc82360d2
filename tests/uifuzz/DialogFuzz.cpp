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

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

std::string nameOf(const QWidget* widget) {
    return widget->objectName().toStdString();
}

std::string titleOf(const QDialog& dialog) {
    return dialog.windowTitle().toStdString();
}

QStringList namesIn(const DataStore& store) {
    QStringList names;
    for (int i = 0; i < store.count(); ++i)
        names << nameText(*store.patternAt(i));
    return names;
}

std::string describe(const Pattern& p) {
    std::ostringstream text;
    text << "symmetry " << p.symmetry << " reset " << p.resetTime << " shape " << p.screenShape
         << " borders " << p.darkBorders << " sliders";
    for (const SliderDef& slider : SLIDERS)
        text << ' ' << slider.of(p);
    return text.str();
}

std::string describe(const Layer& l) {
    std::ostringstream text;
    for (int i = 0; i < SLOTS_PER_LAYER; ++i)
        text << '[' << l.shape[i] << ' ' << l.ratio[i] << ' ' << l.size[i] << ' ' << l.animate[i]
             << ' ' << l.colourMode[i] << ' ' << l.sizeMode[i] << ' ' << l.angleMode[i] << ' '
             << l.border[i] << ' ' << l.colour[i] << ']';
    return text.str();
}

template <typename Control = QWidget> Control* find(const QWidget* dialog, int id) {
    return dialog->findChild<Control*>(QStringLiteral("id%1").arg(id));
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

DialogFuzzer::DialogFuzzer(std::uint32_t seed, int steps, bool verbose)
    : random_(seed), seed_(seed), steps_(steps), verbose_(verbose),
      mainScene_(std::make_unique<Scene>()), editorScene_(std::make_unique<Scene>()) {
    patternPath_ = QString::fromStdString(folder_.slashed());
    options_.helpCursor = QCursor(Qt::WhatsThisCursor);
    options_.helpCursorsReady = true;
    context_ = DialogContext{&options_,
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
            settle();
        }
        act(*main_);
        if (main_ && !main_->isVisible()) {
            note(main_->result() == QDialog::Accepted ? "the configuration dialog ended with OK"
                                                      : "the configuration dialog ended");
            main_.reset();
            if (QApplication::overrideCursor() != nullptr)
                fail("the question-mark cursor outlived its dialog");
        }
    }
    main_.reset();
    settle();
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
    settle();
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
            settle();
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
    settle();
    if (!alive || !dialog.isVisible())
        return;
    if (qobject_cast<DialogBase*>(&dialog) != nullptr && options_.noTabMarks &&
        (chosen.key == Qt::Key_Tab || chosen.key == Qt::Key_Backtab) &&
        QApplication::focusWidget() != find(&dialog, 1093))
        fail("Tab moved the focus with \"No tab marks\" on");
}

// ---- Modals ----------------------------------------------------------------

int DialogFuzzer::exec(QDialog& dialog) {
    note("a modal opens: \"" + titleOf(dialog) + "\"");
    if (main_ && chance(2)) {
        note("destroys the configuration dialog while it is up");
        main_.reset();
        return QDialog::Rejected;
    }
    ++depth_;
    int result = QDialog::Rejected;
    if (qobject_cast<QMessageBox*>(&dialog))
        result = answerMessage(dialog);
    else if (qobject_cast<PatternNameDialog*>(&dialog))
        result = answerName(dialog);
    else if (qobject_cast<QFileDialog*>(&dialog))
        result = answerFile(dialog);
    else if (qobject_cast<QColorDialog*>(&dialog))
        result = answerColour(dialog);
    else if (qobject_cast<AboutDialog*>(&dialog))
        result = QDialog::Accepted;
    else
        result = session(dialog);
    --depth_;
    return result;
}

void DialogFuzzer::openHelpFile() {
    note("the help file opens");
}

int DialogFuzzer::answerMessage(QDialog& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    std::vector<QMessageBox::StandardButton> buttons;
    for (const QMessageBox::StandardButton button :
         {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No})
        if (box.standardButtons() & button)
            buttons.push_back(button);
    const QMessageBox::StandardButton answer =
        buttons.empty() ? QMessageBox::Ok : buttons[pick(int(buttons.size()))];
    note("  \"" + box.text().left(40).simplified().toStdString() + "\" answered " +
         std::to_string(answer));
    return answer;
}

int DialogFuzzer::answerName(QDialog& dialog) {
    const char* names[] = {"Spiral", "", "  ", "Caf\xC3\xA9 \xE2\x82\xAC", "A name of twenty-one!",
                           "Second"};
    const QString name = QString::fromUtf8(names[pick(6)]);
    note("types the name \"" + name.toStdString() + "\"");
    find<QLineEdit>(&dialog, 1000)->setText(name);
    if (chance(20)) {
        dialog.reject();
        return dialog.result();
    }
    const QPointer<QDialog> alive(&dialog);
    find<QAbstractButton>(&dialog, 1)->click();
    if (alive && dialog.isVisible())
        dialog.reject();
    return alive ? dialog.result() : int(QDialog::Rejected);
}

int DialogFuzzer::answerFile(QDialog& dialog) {
    auto& chooser = static_cast<QFileDialog&>(dialog);
    if (chance(15)) {
        note("  cancels the file dialog");
        return QDialog::Rejected;
    }
    const bool saving = chooser.acceptMode() == QFileDialog::AcceptSave;
    const char* saves[] = {"bank0.pat", "bank1", "plain/inside.pat", "good.pat"};
    const char* loads[] = {"good.pat", "notes.txt", "bank0.pat", "bank1.pat", "missing.pat"};
    const std::string file = saving ? saves[pick(4)] : loads[pick(5)];
    note("  chooses " + file);
    chooser.selectFile(QString::fromStdString((folder_.path() / file).string()));
    dialog.done(QDialog::Accepted);
    return dialog.result();
}

int DialogFuzzer::answerColour(QDialog& dialog) {
    auto& chooser = static_cast<QColorDialog&>(dialog);
    const QColor colour = QColor::fromRgb(pick(256), pick(256), pick(256));
    if (chance(20))
        QColorDialog::setCustomColor(pick(16), colour);
    chooser.setCurrentColor(colour);
    const bool accept = chance(70);
    note("  " + std::string(accept ? "takes " : "cancels ") + colour.name().toStdString());
    dialog.done(accept ? QDialog::Accepted : QDialog::Rejected);
    return dialog.result();
}

int DialogFuzzer::session(QDialog& dialog) {
    const QPointer<QDialog> alive(&dialog);
    dialog.show();
    settle();
    if (qobject_cast<PreferencesDialog*>(&dialog))
        noTabMarksAtStart_[&dialog] = find<QAbstractButton>(&dialog, 1112)->isChecked();
    check(dialog);
    const int budget = 1 + pick(15);
    for (int i = 0; i < budget && alive && dialog.isVisible() && step_ < steps_; ++i)
        act(dialog);
    if (alive && dialog.isVisible())
        end(dialog);
    deferred_.erase(&dialog);
    noTabMarksAtStart_.erase(&dialog);
    return alive ? dialog.result() : int(QDialog::Rejected);
}

void DialogFuzzer::end(QDialog& dialog) {
    const QPointer<QDialog> alive(&dialog);
    for (int attempt = 0; attempt < 4 && alive && dialog.isVisible(); ++attempt) {
        ++step_;
        switch (pick(4)) {
        case 0:
        case 1: {
            const int id = chance(60) ? 1 : 2;
            const Input input = chance(80) ? Input::Mouse : anyInput();
            note(std::string("ends it with ") + (id == 1 ? "OK" : "Cancel") + " by " +
                 nameOf(input));
            press(find<QAbstractButton>(&dialog, id), input);
            break;
        }
        case 2:
            note("ends it with Escape");
            QTest::keyClick(&dialog, Qt::Key_Escape);
            break;
        default:
            note("ends it with the window's close button");
            dialog.close();
            break;
        }
        settle();
    }
    if (alive && dialog.isVisible())
        fail("\"" + titleOf(dialog) + "\" would not end");
}

// ---- Checks ----------------------------------------------------------------

void DialogFuzzer::noteDeferral(QDialog& dialog, QWidget* control, bool quickHelpWasOn) {
    auto* base = qobject_cast<DialogBase*>(&dialog);
    if (base == nullptr)
        return;
    auto* slider = qobject_cast<QSlider*>(control);
    const bool list =
        qobject_cast<QComboBox*>(control) != nullptr && control != find(&dialog, 1109);
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
        if (find<QAbstractButton>(base, 1117)->isChecked() != base->quickHelpActive())
            fail("the question-mark button does not show the mode");
    }
}

void DialogFuzzer::checkMain(ConfigDialog& dialog) {
    const auto deferral = deferred_.find(&dialog);
    const bool deferred = deferral != deferred_.end() && dialog.readCount() <= deferral->second;
    if (deferral != deferred_.end() && !deferred)
        deferred_.erase(deferral);
    if (entriesOf(find<QComboBox>(&dialog, 1109)) != namesIn(store_))
        fail("the pattern list does not show the stored patterns");
    if (depth_ == 0 && (QApplication::overrideCursor() != nullptr) != dialog.quickHelpActive())
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
    const auto* setList = find<QComboBox>(&dialog, 1133);
    const auto* bankList = find<QComboBox>(&dialog, 1134);
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
        if (preview->isPaused() == find<QAbstractButton>(&dialog, box)->isChecked())
            fail("a preview runs other than its animate box says");
    }
}

void DialogFuzzer::checkPreferences(PreferencesDialog& dialog) {
    bool& couldBeOn = noTabMarksAtStart_[&dialog];
    const bool on = find<QAbstractButton>(&dialog, 1112)->isChecked();
    if (on && !couldBeOn && !dialog.mouseSeen())
        fail("\"No tab marks\" was checked before the pointer crossed the dialog");
    couldBeOn = on;
}

} // namespace lumivane::test
