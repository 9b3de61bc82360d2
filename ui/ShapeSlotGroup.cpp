#include "ui/ShapeSlotGroup.h"

#include "engine/Shapes.h"
#include "ui/ColourButton.h"
#include "ui/DialogBase.h"
#include "ui/DialogUnits.h"
#include "ui/DropDownList.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>
#include <QSlider>

namespace lumivane {
namespace {

// Per slot: shape list, ratio, colour button, colour modes; size, size modes,
// angle modes, animate, border.
// clang-format off
constexpr ShapeSlotGroup::Ids SLOT_IDS[SLOTS_PER_LAYER] = {
    {1045, 1046, 1051, {1052, 1053, 1054, 1055},
     1047, {1048, 1049, 1050}, {1056, 1057, 1058}, 1059, 1060},
    {1071, 1072, 1073, {1064, 1065, 1066, 1067},
     1074, {1061, 1062, 1063}, {1068, 1069, 1070}, 1075, 1076},
    {1087, 1088, 1089, {1080, 1081, 1082, 1083},
     1090, {1077, 1078, 1079}, {1084, 1085, 1086}, 1091, 1092},
};
// clang-format on
constexpr int SLIDER_MAXIMUM = 100;
constexpr int SLIDER_TICKS = 10;

} // namespace

const ShapeSlotGroup::Ids& ShapeSlotGroup::idsOf(int slot) {
    return SLOT_IDS[slot];
}

QString ShapeSlotGroup::nameOf(int slot) {
    return QStringLiteral("Shape %1").arg(slot + 1);
}

ShapeSlotGroup::ShapeSlotGroup(int slot, QWidget* parent)
    : QGroupBox(nameOf(slot), parent), ids(idsOf(slot)), name_(nameOf(slot)) {
    setObjectName(QStringLiteral("shape%1").arg(slot + 1));
    setAccessibleName(name_);
    auto* grid = new QGridLayout(this);
    grid->addWidget(createShapeGroup(), 0, 0, 1, 2);
    grid->addWidget(createColourGroup(), 0, 2);
    grid->addWidget(createSizeGroup(), 1, 0);
    grid->addWidget(createAngleGroup(), 1, 1);
    grid->addLayout(createAnimateColumn(), 1, 2);
}

// An inner group, named by its own caption for screen readers (not by the
// caption of the slot's group around it).
QGroupBox* ShapeSlotGroup::createInnerGroup(const char* caption) {
    auto* group = new QGroupBox(QString::fromLatin1(caption), this);
    group->setAccessibleName(group->title());
    return group;
}

QSlider* ShapeSlotGroup::createSlider(Qt::Orientation orientation, int id, const char* what) {
    auto* control = DialogBase::named(new QSlider(orientation, this), id,
                                      name_ + QLatin1Char(' ') + QString::fromLatin1(what));
    control->setRange(0, SLIDER_MAXIMUM);
    control->setTickInterval(SLIDER_TICKS);
    control->setPageStep(SLIDER_TICKS);
    control->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksBelow
                                                           : QSlider::TicksRight);
    return control;
}

// A radio group whose buttons have the values 0, 1, ... in template order,
// captioned with the values' names.
QButtonGroup* ShapeSlotGroup::createChoices(std::span<const int> buttonIds, NameTable captions,
                                            const char* what) {
    auto* group = new QButtonGroup(this);
    for (int value = 0; value < int(buttonIds.size()); ++value) {
        const QString caption = QString::fromLatin1(captions.name(value));
        auto* radio = DialogBase::named(new QRadioButton(caption, this), buttonIds[value],
                                        name_ + QLatin1Char(' ') + QString::fromLatin1(what) +
                                            QLatin1Char(' ') + caption);
        group->addButton(radio, value);
    }
    return group;
}

QGroupBox* ShapeSlotGroup::createShapeGroup() {
    QGroupBox* group = createInnerGroup("Shape / Ratio");
    shapeList =
        DialogBase::named(new DropDownList(this), ids.shapeList, name_ + QStringLiteral(" shape"));
    shapeList->setMaxVisibleItems(EDITABLE_SHAPE_COUNT);
    const NameTable shapes = shapeNames();
    for (int shape = 0; shape < EDITABLE_SHAPE_COUNT; ++shape)
        shapeList->addItem(QString::fromLatin1(shapes.name(shape)));
    ratio = createSlider(Qt::Horizontal, ids.ratio, "ratio");
    ratio->setMinimumWidth(dialogUnitsX(this, 70));
    auto* column = new QVBoxLayout(group);
    column->addWidget(shapeList);
    column->addWidget(ratio);
    return group;
}

QGroupBox* ShapeSlotGroup::createColourGroup() {
    QGroupBox* group = createInnerGroup("Colour");
    colourButton = DialogBase::named(new ColourButton(QStringLiteral("Colour"), this),
                                     ids.colourButton, name_ + QStringLiteral(" colour"));
    colourButton->setMinimumSize(dialogUnits(this, 40, 14));
    auto* grid = new QGridLayout(group);
    grid->addWidget(colourButton, 0, 0, 1, 2);
    colourModes = createChoices(ids.colourModes, COLOUR_MODE_NAMES, "colour");
    const QList<QAbstractButton*> radios = colourModes->buttons();
    for (int i = 0; i < radios.size(); ++i)
        grid->addWidget(radios[i], 1 + i / 2, i % 2);
    return group;
}

// The vertical slider has 0 at its top end, and the smaller the value the
// larger the pieces.
QGroupBox* ShapeSlotGroup::createSizeGroup() {
    QGroupBox* group = createInnerGroup("Size");
    size = createSlider(Qt::Vertical, ids.size, "size");
    size->setInvertedAppearance(true);
    size->setInvertedControls(true);
    size->setMinimumHeight(dialogUnitsY(this, 40));
    auto* radios = new QVBoxLayout;
    sizeModes = createChoices(ids.sizeModes, SIZE_MODE_NAMES, "size");
    for (QAbstractButton* radio : sizeModes->buttons())
        radios->addWidget(radio);
    auto* row = new QHBoxLayout(group);
    row->addWidget(size);
    row->addLayout(radios);
    return group;
}

QGroupBox* ShapeSlotGroup::createAngleGroup() {
    QGroupBox* group = createInnerGroup("Angle");
    auto* radios = new QVBoxLayout(group);
    angleModes = createChoices(ids.angleModes, ANGLE_MODE_NAMES, "angle");
    for (QAbstractButton* radio : angleModes->buttons())
        radios->addWidget(radio);
    return group;
}

// "Animate", and the border box below it.
QLayout* ShapeSlotGroup::createAnimateColumn() {
    QGroupBox* group = createInnerGroup("Animate");
    animate = createSlider(Qt::Horizontal, ids.animate, "animate");
    animate->setMinimumWidth(dialogUnitsX(this, 50));
    auto* animateColumn = new QVBoxLayout(group);
    animateColumn->addWidget(animate);
    border = DialogBase::named(new QCheckBox(QStringLiteral("Border"), this), ids.border,
                               name_ + QStringLiteral(" border"));
    auto* column = new QVBoxLayout;
    column->addWidget(group);
    column->addWidget(border);
    column->addStretch();
    return column;
}

} // namespace lumivane
