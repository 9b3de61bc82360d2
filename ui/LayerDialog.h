// The layer editor: edits one layer of the working pattern in detail, with a
// preview of that layer alone. It works on copies and hands the edited layer
// back through layer(); the caller takes it after OK.
#pragma once

#include "patterns/Pattern.h"
#include "ui/DialogBase.h"

#include <QDialog>

#include <array>

namespace lumivane {

class KaleidoView;
class ShapeSlotGroup;

inline constexpr const char* LAYER_DIALOG_TITLE = "Select Layer Pattern";
inline constexpr const char* LAYER_DIALOG_CHANGED_TITLE = "Layer Preferences Dialog";

class LayerDialog : public DialogBase {
    Q_OBJECT

  public:
    // pattern is the whole working pattern (the preview takes its image-wide
    // settings); layer is the layer to edit. Both are copies.
    LayerDialog(const DialogContext& context, const Pattern& pattern, const Layer& layer,
                QWidget* parent = nullptr);
    ~LayerDialog() override;

    // The edited layer, to be taken over after OK.
    const Layer& layer() const { return layer_; }
    KaleidoView* preview() const { return preview_; }
    // The help text of the control with this template id; empty for none.
    static QString helpText(int id);

    // The editor's Randomise: new settings for all three slots, drawn as the
    // pattern generator draws a layer but with every ratio and size kept.
    static void randomiseSlots(Layer& layer);

    // Layer -> controls, without reporting the changes.
    void showLayerControls();
    // Controls -> layer.
    void readLayerControls();
    // What follows every change: read the controls and show the layer alone,
    // 100 pieces of it, in the preview.
    void applyLayer();

  protected:
    void pausePreviews() override;
    void resumePreviews() override;
    void restoreControls() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectSlot(int slot);
    void spreadPieces();
    void markChanged();

    void chooseShape();
    void chooseColour(int slot);
    void randomise();

    KaleidoView* preview_ = nullptr;
    Layer layer_;
    Pattern pattern_;
    std::array<ShapeSlotGroup*, SLOTS_PER_LAYER> slots_{};
};

} // namespace lumivane
