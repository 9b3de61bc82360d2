// The group of one shape slot in the layer editor ("Shape 1", "Shape 2",
// "Shape 3"): its shape list, ratio, colour, size, angle and animate controls
// and the border box, named by the slot's template ids.
#pragma once

#include "patterns/NameTable.h"
#include "patterns/Pattern.h"

#include <QGroupBox>
#include <QString>

#include <span>

class QButtonGroup;
class QCheckBox;
class QLayout;
class QSlider;

namespace lumivane {

class ColourButton;
class DropDownList;

class ShapeSlotGroup : public QGroupBox {
    Q_OBJECT

  public:
    // Template ids of one slot's controls.
    struct Ids {
        int shapeList;
        int ratio;
        int colourButton;
        int colourModes[COLOUR_MODE_NAMES.count()];
        int size;
        int sizeModes[SIZE_MODE_NAMES.count()];
        int angleModes[ANGLE_MODE_NAMES.count()];
        int animate;
        int border;
    };

    // slot is 0, 1 or 2.
    ShapeSlotGroup(int slot, QWidget* parent);

    static const Ids& idsOf(int slot);
    // "Shape 1" for slot 0, and so on.
    static QString nameOf(int slot);

    const Ids& ids;
    DropDownList* shapeList = nullptr;
    QSlider* ratio = nullptr;
    QSlider* size = nullptr;
    QSlider* animate = nullptr;
    ColourButton* colourButton = nullptr;
    QButtonGroup* colourModes = nullptr;
    QButtonGroup* sizeModes = nullptr;
    QButtonGroup* angleModes = nullptr;
    QCheckBox* border = nullptr;

  private:
    QGroupBox* createInnerGroup(const char* caption);
    QSlider* createSlider(Qt::Orientation orientation, int id, const char* what);
    QButtonGroup* createChoices(std::span<const int> buttonIds, NameTable captions,
                                const char* what);
    QGroupBox* createShapeGroup();
    QGroupBox* createColourGroup();
    QGroupBox* createSizeGroup();
    QGroupBox* createAngleGroup();
    QLayout* createAnimateColumn();

    QString name_;
};

} // namespace lumivane
