// The controls of the configuration dialog, in the arrangement of its
// template: the preview top left with OK, Cancel and quick help below it,
// "Overall Image Characteristics" beneath, and "Saved Patterns", "Special
// Options" and "Edit Layers" on the right. Each control is named "id" + its
// template id and has an accessible name. The dialog connects them.
#pragma once

#include "patterns/Pattern.h"
#include "ui/DialogContext.h"

#include <array>
#include <cstdint>

class QButtonGroup;
class QCheckBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QSlider;

namespace lumivane {

class DropDownList;
class KaleidoView;
class QuickHelp;

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
};

constexpr SliderDef SLIDERS[8] = {
    {1029, "Animation Level", "Animation Level", &Pattern::animationLevel, -1},
    {1108, "Balance", "Balance", &Pattern::balance, -1},
    {1106, "Size", "Size", &Pattern::imageSize, -1},
    {1104, "Speed", "Speed", &Pattern::speed, -1},
    {1028, "Rotation", "Rotation", &Pattern::rotation, -1},
    {1099, "Top", "Top amount", nullptr, 2},
    {1097, "Middle", "Middle amount", nullptr, 1},
    {1095, "Bottom", "Bottom amount", nullptr, 0},
};

struct ConfigControls {
    // Builds every control into dialog and lays them out.
    ConfigControls(QDialog* dialog, const DialogContext& context);

    KaleidoView* preview = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QuickHelp* quickHelp = nullptr;
    // Enter presses it when it is the default button: nothing happens.
    QPushButton* defaultButtonSink = nullptr;

    DropDownList* shapeList = nullptr;
    // In the order of SLIDERS.
    std::array<QSlider*, 8> sliders{};
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
};

} // namespace lumivane
