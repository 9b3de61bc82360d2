// The layer editor: edits one layer of the working pattern in detail, with a
// preview of that layer alone.
#pragma once

#include "patterns/Pattern.h"
#include "ui/DialogContext.h"

#include <QDialog>

namespace lumivane {

class LayerDialog : public QDialog {
    Q_OBJECT

  public:
    // pattern is the whole working pattern (for the preview); layer is the
    // layer to edit. Both are copies.
    LayerDialog(const DialogContext& context, const Pattern& pattern, const Layer& layer,
                QWidget* parent = nullptr);

    // The edited layer, to be taken over after OK.
    const Layer& layer() const { return layer_; }

  private:
    DialogContext context_;
    Pattern pattern_;
    Layer layer_;
};

} // namespace lumivane
