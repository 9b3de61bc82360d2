// The background colour and how it is used ("Constant", "Random", "Changing"),
// chosen in one step: Qt's colour chooser, embedded so that it looks the same
// on every desktop, with the three mode buttons below it.
#pragma once

#include "patterns/Pattern.h"
#include "ui/DialogContext.h"

#include <QDialog>

#include <cstdint>

class QButtonGroup;
class QColorDialog;

namespace lumivane {

inline constexpr const char* BACKGROUND_DIALOG_TITLE = "Background Colour";

class BackgroundColourDialog : public QDialog {
    Q_OBJECT

  public:
    // The custom colours are the store's; colours added here are given back
    // to it when the dialog closes, whichever way it closes. A mode outside
    // 0..2 selects no button and stays as it is unless one is chosen.
    BackgroundColourDialog(const DialogContext& context, ColourRef colour, std::int32_t mode,
                           QWidget* parent = nullptr);

    // The chosen colour and mode, taken when OK ends the dialog.
    ColourRef colour() const { return colour_; }
    std::int32_t mode() const { return mode_; }

    void accept() override;
    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    DialogContext context_;
    ColourRef colour_;
    std::int32_t mode_;
    QColorDialog* chooser_ = nullptr;
    QButtonGroup* modes_ = nullptr;
};

} // namespace lumivane
