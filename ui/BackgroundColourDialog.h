// The background colour and how it is used ("Constant", "Random", "Changing"),
// chosen in one step.
#pragma once

#include "patterns/DataStore.h"
#include "ui/DialogContext.h"

#include <QDialog>

namespace lumivane {

class BackgroundColourDialog : public QDialog {
    Q_OBJECT

  public:
    // The custom colours are the store's; colours added here are given back
    // to it when the dialog closes.
    BackgroundColourDialog(const DialogContext& context, ColourRef colour, std::int32_t mode,
                           QWidget* parent = nullptr);

    ColourRef colour() const { return colour_; }
    std::int32_t mode() const { return mode_; }

  private:
    DialogContext context_;
    ColourRef colour_;
    std::int32_t mode_;
};

} // namespace lumivane
