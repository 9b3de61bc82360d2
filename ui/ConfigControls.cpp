#include "ui/ConfigControls.h"

#include "ui/DialogBase.h"
#include "ui/DialogUnits.h"
#include "ui/DropDownList.h"
#include "ui/QuickHelp.h"
#include "view/KaleidoView.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QToolButton>

namespace lumivane {
namespace {

constexpr const char* SCREEN_SHAPES[] = {"Circle", "Oval", "Rectangle", "Three Mirror"};

// Template ids of the full-screen mode radio buttons, in mode order.
constexpr int FULL_SCREEN_MODE_IDS[] = {1123, 1124, 1125, 1127};
constexpr const char* FULL_SCREEN_MODE_CAPTIONS[] = {"Use Current", "Use Random", "Auto-Generate",
                                                     "Cycle"};

} // namespace

ConfigControls::ConfigControls(QDialog* dialog, const DialogContext& context) {
    const auto pushButton = [dialog](int id, const char* caption, int widthUnits, int heightUnits) {
        auto* button = DialogBase::named(new QPushButton(QString::fromLatin1(caption), dialog), id,
                                         QString::fromLatin1(caption));
        button->setMinimumSize(dialogUnits(dialog, widthUnits, heightUnits));
        return button;
    };
    const auto slider = [this, dialog](int index) {
        const SliderDef& def = SLIDERS[index];
        auto* control = DialogBase::named(new QSlider(Qt::Horizontal, dialog), def.id,
                                          QString::fromLatin1(def.accessibleName));
        control->setRange(0, 100);
        control->setTickInterval(10);
        control->setTickPosition(QSlider::TicksBelow);
        control->setPageStep(10);
        control->setMinimumWidth(dialogUnitsX(dialog, 59));
        sliders[index] = control;
        return control;
    };
    const auto labelled = [dialog](const char* caption, QWidget* control) {
        auto* column = new QVBoxLayout;
        column->setSpacing(dialogUnitsY(dialog, 1));
        auto* label = new QLabel(QString::fromLatin1(caption), dialog);
        label->setBuddy(control);
        column->addWidget(label);
        column->addWidget(control);
        return column;
    };

    // The preview, and the dialog's own buttons below it.
    preview = new KaleidoView(context.viewEnvironment(), dialog);
    DialogBase::named(preview, 1006, QStringLiteral("Preview"));
    preview->setMinimumSize(dialogUnits(dialog, 202, 133));
    preview->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    ok = pushButton(1, "OK", 66, 17);
    cancel = pushButton(2, "Cancel", 66, 17);
    quickHelp = new QuickHelp(dialog, *context.options, *context.runner);
    quickHelp->button()->setMinimumSize(dialogUnits(dialog, 20, 17));
    quickHelp->button()->setIconSize(QSize(1, 1) * dialogUnitsY(dialog, 13));

    // Enter presses dialog one when it is the default: nothing happens.
    defaultButtonSink = DialogBase::named(new QPushButton(dialog), 1130, QString());
    defaultButtonSink->hide();
    // Takes the focus when no control may show a focus mark.
    auto* dialogButtons = new QHBoxLayout;
    dialogButtons->addWidget(ok);
    dialogButtons->addWidget(cancel);
    dialogButtons->addStretch();
    dialogButtons->addWidget(quickHelp->button());

    // Overall Image Characteristics.
    auto* overall = new QGroupBox(QStringLiteral("Overall Image Characteristics"), dialog);
    shapeList = DialogBase::named(new DropDownList(dialog), 1112, QStringLiteral("Screen shape"));
    for (const char* shape : SCREEN_SHAPES)
        shapeList->addItem(QString::fromLatin1(shape));
    shapeList->setMinimumWidth(dialogUnitsX(dialog, 113));
    for (int i = 0; i < 8; ++i)
        slider(i);

    symmetryDown = pushButton(1101, "<<", 15, 14);
    symmetryUp = pushButton(1100, ">>", 15, 14);
    symmetryDown->setAccessibleName(QStringLiteral("Symmetry down"));
    symmetryUp->setAccessibleName(QStringLiteral("Symmetry up"));
    for (QPushButton* step : {symmetryDown, symmetryUp})
        step->setMaximumWidth(dialogUnitsX(dialog, 18));
    symmetryEdit = DialogBase::named(new QLineEdit(dialog), 1000, QStringLiteral("Symmetry"));
    symmetryEdit->setReadOnly(true);
    symmetryEdit->setAlignment(Qt::AlignCenter);
    symmetryEdit->setFixedWidth(dialogUnitsX(dialog, 22));
    auto* symmetryRow = new QHBoxLayout;
    symmetryRow->setSpacing(dialogUnitsX(dialog, 2));
    symmetryRow->addWidget(symmetryDown);
    symmetryRow->addWidget(symmetryEdit);
    symmetryRow->addWidget(symmetryUp);
    auto* symmetryLabel = new QLabel(QStringLiteral("Symmetry"), dialog);
    symmetryLabel->setBuddy(symmetryEdit);
    auto* symmetryColumn = new QVBoxLayout;
    symmetryColumn->setSpacing(dialogUnitsY(dialog, 1));
    symmetryColumn->addWidget(symmetryLabel);
    symmetryColumn->addLayout(symmetryRow);

    resetTimeEdit = DialogBase::named(new QLineEdit(dialog), 1126, QStringLiteral("Reset Time"));
    resetTimeEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), dialog));
    resetTimeEdit->setFixedWidth(dialogUnitsX(dialog, 55));

    auto* overallGrid = new QGridLayout(overall);
    overallGrid->addWidget(shapeList, 0, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    overallGrid->addLayout(labelled("Animation Level", sliders[0]), 0, 2);
    overallGrid->addLayout(labelled("Size", sliders[2]), 1, 0);
    overallGrid->addLayout(labelled("Balance", sliders[1]), 1, 1);
    overallGrid->addLayout(symmetryColumn, 1, 2);
    overallGrid->addLayout(labelled("Speed", sliders[3]), 2, 0);
    overallGrid->addLayout(labelled("Rotation", sliders[4]), 2, 1);
    overallGrid->addLayout(labelled("Reset Time", resetTimeEdit), 2, 2);
    overallGrid->setColumnMinimumWidth(2, dialogUnitsX(dialog, 59));

    auto* left = new QVBoxLayout;
    left->addWidget(preview, 1);
    left->addLayout(dialogButtons);
    left->addWidget(overall);

    // Saved Patterns.
    auto* saved = new QGroupBox(QStringLiteral("Saved Patterns"), dialog);
    patternList =
        DialogBase::named(new DropDownList(dialog), 1109, QStringLiteral("Saved patterns"));
    patternList->setMaxVisibleItems(20);
    patternList->setMinimumWidth(dialogUnitsX(dialog, 121));
    auto* patternButtons = new QHBoxLayout;
    save = pushButton(1121, "Save", 32, 15);
    remove = pushButton(1122, "Delete", 32, 15);
    banks = pushButton(1144, "Banks", 32, 15);
    for (QPushButton* button : {save, remove, banks})
        patternButtons->addWidget(button);
    fullScreenModes = new QButtonGroup(dialog);
    auto* modes = new QGridLayout;
    for (int mode = 0; mode < 4; ++mode) {
        const QString caption = QString::fromLatin1(FULL_SCREEN_MODE_CAPTIONS[mode]);
        auto* radio = DialogBase::named(new QRadioButton(caption, dialog),
                                        FULL_SCREEN_MODE_IDS[mode], caption);
        fullScreenModes->addButton(radio, mode);
        modes->addWidget(radio, mode / 2, mode % 2);
    }
    auto* savedColumn = new QVBoxLayout(saved);
    savedColumn->addWidget(patternList);
    savedColumn->addLayout(patternButtons);
    savedColumn->addLayout(modes);

    // Special Options.
    auto* special = new QGroupBox(QStringLiteral("Special Options"), dialog);
    auto* specialGrid = new QGridLayout(special);
    preferences = pushButton(1115, "Preferences", 56, 17);
    randomise = pushButton(1105, "Randomise", 56, 17);
    help = pushButton(1132, "Help", 56, 17);
    specialGrid->addWidget(preferences, 0, 0);
    specialGrid->addWidget(randomise, 1, 0);
    specialGrid->addWidget(help, 1, 1);

    // Edit Layers.
    auto* layers = new QGroupBox(QStringLiteral("Edit Layers"), dialog);
    auto* layerGrid = new QGridLayout(layers);
    layerGrid->addWidget(new QLabel(QStringLiteral("Layer"), dialog), 0, 0, Qt::AlignHCenter);
    layerGrid->addWidget(new QLabel(QStringLiteral("Amount"), dialog), 0, 1, Qt::AlignHCenter);
    const struct {
        int id;
        const char* caption;
        int layer;
        int slider;
    } layerRows[] = {{1098, "Top", 2, 5}, {1096, "Middle", 1, 6}, {1094, "Bottom", 0, 7}};
    for (int row = 0; row < 3; ++row) {
        QPushButton* button = pushButton(layerRows[row].id, layerRows[row].caption, 40, 16);
        layerButtons[layerRows[row].layer] = button;
        layerGrid->addWidget(button, row + 1, 0);
        layerGrid->addWidget(sliders[layerRows[row].slider], row + 1, 1);
    }
    background = pushButton(1007, "Background", 55, 14);
    darkBorders = DialogBase::named(new QCheckBox(QStringLiteral("Dark Borders"), dialog), 1129,
                                    QStringLiteral("Dark Borders"));
    layerGrid->addWidget(background, 4, 0);
    layerGrid->addWidget(darkBorders, 4, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(saved);
    right->addWidget(special);
    right->addWidget(layers);
    right->addStretch();

    auto* columns = new QHBoxLayout(dialog);
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);
}

} // namespace lumivane
