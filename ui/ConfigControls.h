// The controls of the configuration dialog, in the arrangement of its
// template: the preview top left with OK, Cancel and quick help below it,
// "Overall Image Characteristics" beneath, and "Saved Patterns", "Special
// Options" and "Edit Layers" on the right. Each control is named "id" + its
// template id and has an accessible name; the Tab key goes through them by
// their places. The dialog connects them.
#pragma once

#include "patterns/DataStore.h"
#include "patterns/Pattern.h"
#include "ui/DialogContext.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

class QButtonGroup;
class QCheckBox;
class QDialog;
class QGroupBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;

namespace lumivane {

class DropDownList;
class KaleidoView;

// The eight sliders in member order, with their template ids, labels and fields.
struct SliderDef {
    int id;
    const char* label;
    const char* accessibleName;
    std::int32_t Pattern::*field;
    int layer; // for the amount sliders: which element of amount

    std::int32_t& of(Pattern& pattern) const {
        return field != nullptr ? pattern.*field : pattern.amount[layer];
    }
    std::int32_t of(const Pattern& pattern) const {
        return field != nullptr ? pattern.*field : pattern.amount[layer];
    }
};

inline constexpr int SLIDER_COUNT = 8;
constexpr SliderDef SLIDERS[SLIDER_COUNT] = {
    {1029, "Animation Level", "Animation Level", &Pattern::animationLevel, -1},
    {1108, "Balance", "Balance", &Pattern::balance, -1},
    {1106, "Size", "Size", &Pattern::imageSize, -1},
    {1104, "Speed", "Speed", &Pattern::speed, -1},
    {1028, "Rotation", "Rotation", &Pattern::rotation, -1},
    {1099, "Top", "Top amount", nullptr, 2},
    {1097, "Middle", "Middle amount", nullptr, 1},
    {1095, "Bottom", "Bottom amount", nullptr, 0},
};

// Template ids of the full-screen mode radio buttons, in mode order.
inline constexpr int FULL_SCREEN_MODE_IDS[] = {1123, 1124, 1125, 1127};
static_assert(std::size(FULL_SCREEN_MODE_IDS) == std::size_t(FULL_SCREEN_MODE_NAMES.count()));
// Template ids of the layer editor buttons of layers 0 (bottom), 1 and 2 (top).
inline constexpr int LAYER_BUTTON_IDS[LAYERS_PER_PATTERN] = {1094, 1096, 1098};

class ConfigControls {
  public:
    // Builds every control into dialog and lays them out; quickHelp is the
    // dialog's question-mark button.
    ConfigControls(QDialog* dialog, const DialogContext& context, QToolButton* quickHelp);

    KaleidoView* preview = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QToolButton* quickHelp = nullptr;

    DropDownList* shapeList = nullptr;
    // In the order of SLIDERS.
    std::array<QSlider*, SLIDER_COUNT> sliders{};
    QPushButton* symmetryDown = nullptr;
    QPushButton* symmetryUp = nullptr;
    QLineEdit* symmetryEdit = nullptr;
    QLineEdit* resetTimeEdit = nullptr;

    DropDownList* patternList = nullptr;
    QPushButton* save = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* banks = nullptr;
    QButtonGroup* fullScreenModes = nullptr;

    QPushButton* preferences = nullptr;
    QPushButton* randomise = nullptr;
    QPushButton* help = nullptr;

    // The editors of layers 0 (bottom), 1 (middle) and 2 (top).
    std::array<QPushButton*, LAYERS_PER_PATTERN> layerButtons{};
    QPushButton* background = nullptr;
    QCheckBox* darkBorders = nullptr;

  private:
    QPushButton* createPushButton(int id, const char* caption, int widthUnits, int heightUnits);
    QSlider* createSlider(int index);
    QLayout* createPreviewColumn(const DialogContext& context);
    QGroupBox* createOverallGroup();
    QLayout* createSymmetryColumn();
    QGroupBox* createSavedPatternsGroup();
    QGroupBox* createSpecialOptionsGroup();
    QGroupBox* createEditLayersGroup();
    void setTabOrder();

    QDialog* dialog_;
};

} // namespace lumivane
