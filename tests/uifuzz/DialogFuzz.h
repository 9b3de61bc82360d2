// The dialogs' interaction fuzzer: thousands of random actions across the
// configuration dialog and every dialog it opens, with the pointer, the keys
// and the accessibility interface, answering every modal from the same random
// source; after each action the dialog must hold what its controls show (once
// the next reading has run where quick help or a drag defers it).
#pragma once

#include "engine/Scene.h"
#include "patterns/DataStore.h"
#include "ui/DialogContext.h"
#include "ui/ModalRunner.h"

#include "../app/TestFolders.h"
#include "../ui/InputDriver.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace lumivane {
class BankDialog;
class ConfigDialog;
class DialogBase;
class LayerDialog;
class PreferencesDialog;
} // namespace lumivane

namespace lumivane::test {

// Runs pending events, queued calls among them.
void runPendingEvents();

// The control of dialog named "id" + its template id.
template <typename Control = QWidget> Control* controlIn(const QWidget* dialog, int id) {
    return dialog->findChild<Control*>(QStringLiteral("id%1").arg(id));
}

class DialogFuzzer : public ModalRunner {
  public:
    DialogFuzzer(std::uint32_t seed, int steps, bool verbose);
    ~DialogFuzzer() override;

    // Runs the steps; false (after printing the seed and the actions that led
    // there) when a check failed.
    bool run();

    int exec(QDialog& dialog) override;
    void openHelpFile() override;

  private:
    // Randomness.
    int pick(int count);
    bool chance(int percent);
    Input anyInput();

    // The record of what was done, printed when a check fails.
    void note(const std::string& what);
    void fail(const std::string& why);

    // One random action on dialog, then the checks of that dialog.
    void act(QDialog& dialog);
    void operate(QDialog& dialog, QWidget* control);
    void pressKey(QDialog& dialog);
    // A dialog opened from another: random actions, then an ending.
    int session(QDialog& dialog);
    void end(QDialog& dialog);

    void check(QDialog& dialog);
    void checkMain(ConfigDialog& dialog);
    void checkLayer(LayerDialog& dialog);
    void checkBanks(BankDialog& dialog);
    void checkPreferences(PreferencesDialog& dialog);
    // Notes a slider or list change that the dialog takes only at its next
    // reading of the controls.
    void noteDeferral(QDialog& dialog, QWidget* control, bool quickHelpWasOn);

    int answerMessage(QDialog& box);
    int answerName(QDialog& nameDialog);
    int answerFile(QDialog& chooser);
    int answerColour(QDialog& chooser);

    std::mt19937 random_;
    std::uint32_t seed_;
    int steps_;
    bool verbose_;
    int step_ = 0;
    int depth_ = 0;
    bool failed_ = false;
    std::vector<std::string> log_;

    lumivane::testing::TempFolder folder_;
    QString patternPath_;
    DialogSettings settings_;
    DisplaySettings display_;
    DataStore store_;
    std::unique_ptr<Scene> mainScene_;
    std::unique_ptr<Scene> editorScene_;
    DialogContext context_;
    std::unique_ptr<ConfigDialog> main_;

    // Dialogs whose sliders or lists show what they have not read yet: the
    // reading count at which that was noted.
    std::map<const QDialog*, int> deferred_;
    // The preferences' "No tab marks" as the dialog opened.
    std::map<const QDialog*, bool> noTabMarksAtStart_;
};

} // namespace lumivane::test
