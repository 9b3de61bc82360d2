// The configuration dialog: edits the working pattern with a live preview,
// keeps the list of stored patterns, chooses what the full-screen saver shows,
// and opens the layer editor, the background colour, preferences, banks, name
// and about dialogs. Saving and deleting change the store at once; only OK
// makes the caller write the data file.
#pragma once

#include "patterns/Pattern.h"
#include "ui/ConfigControls.h"
#include "ui/DialogBase.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace lumivane {

inline constexpr const char* CONFIG_DIALOG_TITLE =
    "Lumivane Kaleidoscopic Screensaver (V" LUMIVANE_VERSION ")";

class ConfigDialog : public DialogBase {
    Q_OBJECT

  public:
    explicit ConfigDialog(const DialogContext& context, QWidget* parent = nullptr);
    ~ConfigDialog() override;

    const Pattern& workingPattern() const { return workingPattern_; }
    KaleidoView* preview() const { return controls_.preview; }
    // The help text of the control with this template id; empty for none.
    static QString helpText(int id);

    // Working pattern -> controls, without reporting the changes.
    void showControls();
    // Controls -> working pattern; false (and a message) when the symmetry is
    // not a whole number 3..20 or the reset time not one in 1..1000000, and the
    // pattern is then unchanged.
    bool readControls();
    // What follows every change: read the controls, show the result in the
    // preview, keep the full-screen mode in the store.
    void applyChanges();

    // OK: the controls become the working pattern, and that the store's
    // current one.
    void accept() override;
    // Cancel, Escape and the window's close button; may ask first.
    void reject() override;

  protected:
    void pausePreviews() override;
    void resumePreviews() override;
    void restoreControls() override;
    void afterHelpShown() override;
    bool focusSinkAfterHelp() const override { return true; }

    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectControls();
    // A whole number lo..hi from edit, or nothing, and a message.
    std::optional<int> readNumber(QLineEdit* edit, int lo, int hi);
    void writeSymmetryText(int symmetry);
    void keepSymmetryText();
    void fillPatternList();
    void setDefaultButton();

    void chooseScreenShape();
    void choosePattern(int index);
    void stepSymmetry(int step);
    void editResetTime();
    void savePattern();
    void deletePattern();
    void randomisePattern();
    void editLayer(int index);
    void editBackground();
    void editPreferences();
    void editBanks();
    void openHelp();
    void showAbout();

    ConfigControls controls_;
    Pattern workingPattern_;
    // What the read-only symmetry box was last given: nothing else may change it.
    QString symmetryText_;
    bool refusalPending_ = false;
};

} // namespace lumivane
