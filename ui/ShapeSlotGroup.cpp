#include "ui/ShapeSlotGroup.h"

#include "engine/Shapes.h"
#include "patterns/Pattern.h"
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

constexpr ShapeSlotGroup::Ids SLOT_IDS[SLOTS_PER_LAYER] = {
    {1045,
     1046,
     1051,
     {1052, 1053, 1054, 1055},
     1047,
     {1048, 1049, 1050},
     {1056, 1057, 1058},
     1059,
     1060},
    {1071,
     1072,
     1073,
     {1064, 1065, 1066, 1067},
     1074,
     {1061, 1062, 1063},
     {1068, 1069, 1070},
     1075,
     1076},
    {1087,
     1088,
     1089,
     {1080, 1081, 1082, 1083},
     1090,
     {1077, 1078, 1079},
     {1084, 1085, 1086},
     1091,
     1092},
};

constexpr const char* COLOUR_MODES[] = {"Const", "Mix", "Vary", "Change"};
constexpr const char* SIZE_MODES[] = {"Const", "Mix", "Change"};
constexpr const char* ANGLE_MODES[] = {"Const", "Rotate", "Twirl"};

} // namespace

const ShapeSlotGroup::Ids& ShapeSlotGroup::idsOf(int slot) {
    return SLOT_IDS[slot];
}

QString ShapeSlotGroup::nameOf(int slot) {
    return QStringLiteral("Shape %1").arg(slot + 1);
}

ShapeSlotGroup::ShapeSlotGroup(int slot, QWidget* parent)
    : QGroupBox(nameOf(slot), parent), ids(idsOf(slot)) {
    const QString name = nameOf(slot);
    const auto slider = [this, &name](Qt::Orientation orientation, int id, const char* what) {
        auto* control = DialogBase::named(new QSlider(orientation, this), id,
                                          name + QLatin1Char(' ') + QString::fromLatin1(what));
        control->setRange(0, 100);
        control->setTickInterval(10);
        control->setPageStep(10);
        control->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksBelow
                                                               : QSlider::TicksRight);
        return control;
    };
    // A radio group whose buttons have the values 0, 1, ... in template order.
    const auto choices = [this, &name](QButtonGroup*& group, const int* ids,
                                       const char* const* captions, int count, const char* what) {
        group = new QButtonGroup(this);
        for (int value = 0; value < count; ++value) {
            const QString caption = QString::fromLatin1(captions[value]);
            auto* radio = DialogBase::named(new QRadioButton(caption, this), ids[value],
                                            name + QLatin1Char(' ') + QString::fromLatin1(what) +
                                                QLatin1Char(' ') + caption);
            group->addButton(radio, value);
        }
        return group->buttons();
    };

    setObjectName(QStringLiteral("shape%1").arg(slot + 1));

    // Shape / Ratio.
    auto* shapeBox = new QGroupBox(QStringLiteral("Shape / Ratio"), this);
    shapeList =
        DialogBase::named(new DropDownList(this), ids.shapeList, name + QStringLiteral(" shape"));
    shapeList->setMaxVisibleItems(EDITABLE_SHAPE_COUNT);
    for (int shape = 0; shape < EDITABLE_SHAPE_COUNT; ++shape)
        shapeList->addItem(QString::fromStdString(shapeName(shape)));
    ratio = slider(Qt::Horizontal, ids.ratio, "ratio");
    ratio->setMinimumWidth(dialogUnitsX(this, 70));
    auto* shapeColumn = new QVBoxLayout(shapeBox);
    shapeColumn->addWidget(shapeList);
    shapeColumn->addWidget(ratio);

    // Colour.
    auto* colourBox = new QGroupBox(QStringLiteral("Colour"), this);
    colourButton = DialogBase::named(new ColourButton(QStringLiteral("Colour"), this),
                                     ids.colourButton, name + QStringLiteral(" colour"));
    colourButton->setMinimumSize(dialogUnits(this, 40, 14));
    auto* colourGrid = new QGridLayout(colourBox);
    colourGrid->addWidget(colourButton, 0, 0, 1, 2);
    const QList<QAbstractButton*> colourRadios =
        choices(colourModes, ids.colourModes, COLOUR_MODES, 4, "colour");
    for (int i = 0; i < colourRadios.size(); ++i)
        colourGrid->addWidget(colourRadios[i], 1 + i / 2, i % 2);

    // Size: the vertical slider has 0 at its top end, and the smaller the
    // value the larger the pieces.
    auto* sizeBox = new QGroupBox(QStringLiteral("Size"), this);
    size = slider(Qt::Vertical, ids.size, "size");
    size->setInvertedAppearance(true);
    size->setInvertedControls(true);
    size->setMinimumHeight(dialogUnitsY(this, 40));
    auto* sizeRadios = new QVBoxLayout;
    for (QAbstractButton* radio : choices(sizeModes, ids.sizeModes, SIZE_MODES, 3, "size"))
        sizeRadios->addWidget(radio);
    auto* sizeRow = new QHBoxLayout(sizeBox);
    sizeRow->addWidget(size);
    sizeRow->addLayout(sizeRadios);

    // Angle.
    auto* angleBox = new QGroupBox(QStringLiteral("Angle"), this);
    auto* angleRadios = new QVBoxLayout(angleBox);
    for (QAbstractButton* radio : choices(angleModes, ids.angleModes, ANGLE_MODES, 3, "angle"))
        angleRadios->addWidget(radio);

    // Animate, and the border below it.
    auto* animateBox = new QGroupBox(QStringLiteral("Animate"), this);
    animate = slider(Qt::Horizontal, ids.animate, "animate");
    animate->setMinimumWidth(dialogUnitsX(this, 50));
    auto* animateColumn = new QVBoxLayout(animateBox);
    animateColumn->addWidget(animate);
    border = DialogBase::named(new QCheckBox(QStringLiteral("Border"), this), ids.border,
                               name + QStringLiteral(" border"));
    auto* lastColumn = new QVBoxLayout;
    lastColumn->addWidget(animateBox);
    lastColumn->addWidget(border);
    lastColumn->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(shapeBox, 0, 0, 1, 2);
    grid->addWidget(colourBox, 0, 2);
    grid->addWidget(sizeBox, 1, 0);
    grid->addWidget(angleBox, 1, 1);
    grid->addLayout(lastColumn, 1, 2);
}

} // namespace lumivane
