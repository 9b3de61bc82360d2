// "Lumivane Preferences": the six program-wide switches. Two take effect in
// full-screen mode and live in the profile; four change how the configuration
// dialogs behave (and one the saver's priority) and live in the data file.
#pragma once

#include <QDialog>

class QCheckBox;

namespace lumivane {

struct DialogSettings;
struct DisplaySettings;
class ModalRunner;

struct Preferences {
    bool noTabMarks = false;
    bool enterKeepsDialog = true;
    bool warnOnQuit = true;
    bool politeMode = false;
    bool antiAlias = true;
    bool showPatternName = false;

    // The working values of the settings, and back.
    static Preferences of(const DialogSettings& settings, const DisplaySettings& display);
    void applyTo(DialogSettings& settings, DisplaySettings& display) const;

    bool operator==(const Preferences&) const = default;
};

class PreferencesDialog : public QDialog {
    Q_OBJECT

  public:
    PreferencesDialog(const Preferences& preferences, ModalRunner& runner,
                      QWidget* parent = nullptr);

    // The values the boxes show.
    Preferences preferences() const;
    // Whether the mouse has moved over the dialog's own surface.
    bool mouseSeen() const { return mouseSeen_; }

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showValues(const Preferences& preferences);
    void checkNoTabMarks(bool checked);
    void refuseNoTabMarks();
    void restoreDefaults();

    ModalRunner& runner_;
    bool mouseSeen_ = false;
    QCheckBox* noTabMarks_;
    QCheckBox* enterKeepsDialog_;
    QCheckBox* warnOnQuit_;
    QCheckBox* politeMode_;
    QCheckBox* antiAlias_;
    QCheckBox* showPatternName_;
};

} // namespace lumivane
