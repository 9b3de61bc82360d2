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
#include <QMessageBox>

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
    bool quickHelpActive() const;
    // The help text of the control with this template id; empty for none.
    static QString helpText(int id);

    // Working pattern -> controls.
    void showControls();
    // Controls -> working pattern; false (with a message) when the reset time
    // is not a whole number 1..1000000, and the pattern is then unchanged.
    bool readControls();
    // What follows every change: read the controls, show the result in the
    // preview, keep the full-screen mode in the store.
    void applyChanges();

    // OK: the working pattern becomes the store's current one.
    void accept() override;
    // Cancel, Escape and the window's close button; may ask first.
    void reject() override;

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectControls();
    void moveMembersToControls();
    bool moveControlsToMembers();
    void writeSymmetryText();
    void fillPatternList();
    void setDefaultButton();
    void pausePreview();
    void resumePreview();
    int runModal(QDialog& dialog);
    // A message box, with the preview paused around it.
    QMessageBox::StandardButton tell(QMessageBox::Icon icon, const QString& title,
                                     const QString& text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Ok);

    // Quick help: shows the text of control id when the mode is on.
    bool explain(int id);
    void showQuickHelp(const QString& text);

    void pressQuickHelp();
    void scrollSlider();
    void endSliderTracking(int id);
    void chooseScreenShape();
    void closeScreenShapeList();
    void choosePattern(int index);
    void closePatternList();
    void clickOption(int id);
    void stepSymmetry(int id, int step);
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
    std::int32_t symmetryValue_ = 0;
    std::int32_t fullScreenModeValue_ = -1;
    std::int32_t resetTimeValue_ = 0;
    std::int32_t darkBordersValue_ = 0;
};

} // namespace lumivane
