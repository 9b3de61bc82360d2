#include "ui/ConfigControls.h"

#include "patterns/DataStore.h"
#include "ui/DialogBase.h"
#include "ui/DialogUnits.h"
#include "ui/DropDownList.h"
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

constexpr int SLIDER_MAXIMUM = 100;
constexpr int SLIDER_TICKS = 10;

// Indexes into SLIDERS.
enum SliderIndex { ANIMATION, BALANCE, SIZE, SPEED, ROTATION, TOP_AMOUNT, MIDDLE_AMOUNT, BOTTOM };

// A caption above its control, the caption naming the control for the keys.
QVBoxLayout* labelled(QDialog* dialog, const char* caption, QWidget* control) {
    auto* column = new QVBoxLayout;
    column->setSpacing(dialogUnitsY(dialog, 1));
    auto* label = new QLabel(QString::fromLatin1(caption), dialog);
    label->setBuddy(control);
    column->addWidget(label);
    column->addWidget(control);
    return column;
}

} // namespace

ConfigControls::ConfigControls(QDialog* dialog, const DialogContext& context,
                               QToolButton* quickHelpButton)
    : quickHelp(quickHelpButton), dialog_(dialog) {
    for (int i = 0; i < SLIDER_COUNT; ++i)
        createSlider(i);

    auto* left = new QVBoxLayout;
    left->addLayout(createPreviewColumn(context), 1);
    left->addWidget(createOverallGroup());

    auto* right = new QVBoxLayout;
    right->addWidget(createSavedPatternsGroup());
    right->addWidget(createSpecialOptionsGroup());
    right->addWidget(createEditLayersGroup());
    right->addStretch();

    auto* columns = new QHBoxLayout(dialog);
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);
    setTabOrder();
}

QPushButton* ConfigControls::createPushButton(int id, const char* caption, int widthUnits,
                                              int heightUnits) {
    auto* button = DialogBase::named(new QPushButton(QString::fromLatin1(caption), dialog_), id,
                                     QString::fromLatin1(caption));
    button->setMinimumSize(dialogUnits(dialog_, widthUnits, heightUnits));
    return button;
}

QSlider* ConfigControls::createSlider(int index) {
    const SliderDef& def = SLIDERS[index];
    auto* control = DialogBase::named(new QSlider(Qt::Horizontal, dialog_), def.id,
                                      QString::fromLatin1(def.accessibleName));
    control->setRange(0, SLIDER_MAXIMUM);
    control->setTickInterval(SLIDER_TICKS);
    control->setTickPosition(QSlider::TicksBelow);
    control->setPageStep(SLIDER_TICKS);
    control->setMinimumWidth(dialogUnitsX(dialog_, 59));
    sliders[index] = control;
    return control;
}

// The preview, and the dialog's own buttons below it.
QLayout* ConfigControls::createPreviewColumn(const DialogContext& context) {
    preview = new KaleidoView(context.viewEnvironment(), dialog_);
    DialogBase::named(preview, 1006, QStringLiteral("Preview"));
    preview->setMinimumSize(dialogUnits(dialog_, 202, 133));
    preview->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    ok = createPushButton(1, "OK", 66, 17);
    cancel = createPushButton(2, "Cancel", 66, 17);
    quickHelp->setMinimumSize(dialogUnits(dialog_, 20, 17));
    quickHelp->setIconSize(QSize(1, 1) * dialogUnitsY(dialog_, 13));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    buttons->addWidget(quickHelp);

    auto* column = new QVBoxLayout;
    column->addWidget(preview, 1);
    column->addLayout(buttons);
    return column;
}

QGroupBox* ConfigControls::createOverallGroup() {
    auto* group = new QGroupBox(QStringLiteral("Overall Image Characteristics"), dialog_);
    shapeList = DialogBase::named(new DropDownList(dialog_), 1112, QStringLiteral("Screen shape"));
    for (const char* shape : SCREEN_SHAPE_NAMES)
        shapeList->addItem(QString::fromLatin1(shape));
    shapeList->setMinimumWidth(dialogUnitsX(dialog_, 113));

    resetTimeEdit = DialogBase::named(new QLineEdit(dialog_), 1126, QStringLiteral("Reset Time"));
    resetTimeEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), dialog_));
    resetTimeEdit->setFixedWidth(dialogUnitsX(dialog_, 55));

    auto* grid = new QGridLayout(group);
    grid->addWidget(shapeList, 0, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addLayout(labelled(dialog_, "Animation Level", sliders[ANIMATION]), 0, 2);
    grid->addLayout(labelled(dialog_, "Size", sliders[SIZE]), 1, 0);
    grid->addLayout(labelled(dialog_, "Balance", sliders[BALANCE]), 1, 1);
    grid->addLayout(createSymmetryColumn(), 1, 2);
    grid->addLayout(labelled(dialog_, "Speed", sliders[SPEED]), 2, 0);
    grid->addLayout(labelled(dialog_, "Rotation", sliders[ROTATION]), 2, 1);
    grid->addLayout(labelled(dialog_, "Reset Time", resetTimeEdit), 2, 2);
    grid->setColumnMinimumWidth(2, dialogUnitsX(dialog_, 59));
    return group;
}

// "Symmetry" over "<<", the read-only box and ">>".
QLayout* ConfigControls::createSymmetryColumn() {
    symmetryDown = createPushButton(1101, "<<", 15, 14);
    symmetryUp = createPushButton(1100, ">>", 15, 14);
    symmetryDown->setAccessibleName(QStringLiteral("Symmetry down"));
    symmetryUp->setAccessibleName(QStringLiteral("Symmetry up"));
    for (QPushButton* step : {symmetryDown, symmetryUp})
        step->setMaximumWidth(dialogUnitsX(dialog_, 18));
    symmetryEdit = DialogBase::named(new QLineEdit(dialog_), 1000, QStringLiteral("Symmetry"));
    symmetryEdit->setReadOnly(true);
    symmetryEdit->setAlignment(Qt::AlignCenter);
    symmetryEdit->setFixedWidth(dialogUnitsX(dialog_, 22));

    auto* row = new QHBoxLayout;
    row->setSpacing(dialogUnitsX(dialog_, 2));
    row->addWidget(symmetryDown);
    row->addWidget(symmetryEdit);
    row->addWidget(symmetryUp);
    auto* label = new QLabel(QStringLiteral("Symmetry"), dialog_);
    label->setBuddy(symmetryEdit);
    auto* column = new QVBoxLayout;
    column->setSpacing(dialogUnitsY(dialog_, 1));
    column->addWidget(label);
    column->addLayout(row);
    return column;
}

QGroupBox* ConfigControls::createSavedPatternsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Saved Patterns"), dialog_);
    patternList =
        DialogBase::named(new DropDownList(dialog_), 1109, QStringLiteral("Saved patterns"));
    patternList->setMaxVisibleItems(PATTERN_LIST_ENTRIES);
    patternList->setMinimumWidth(dialogUnitsX(dialog_, 121));
    auto* buttons = new QHBoxLayout;
    save = createPushButton(1121, "Save", 32, 15);
    remove = createPushButton(1122, "Delete", 32, 15);
    banks = createPushButton(1144, "Banks", 32, 15);
    for (QPushButton* button : {save, remove, banks})
        buttons->addWidget(button);

    fullScreenModes = new QButtonGroup(dialog_);
    auto* modes = new QGridLayout;
    for (int mode = FULLSCREEN_USE_CURRENT; mode <= FULLSCREEN_CYCLE; ++mode) {
        const QString caption = QString::fromLatin1(FULL_SCREEN_MODE_NAMES.name(mode));
        auto* radio = DialogBase::named(new QRadioButton(caption, dialog_),
                                        FULL_SCREEN_MODE_IDS[mode], caption);
        fullScreenModes->addButton(radio, mode);
        modes->addWidget(radio, mode / 2, mode % 2);
    }

    auto* column = new QVBoxLayout(group);
    column->addWidget(patternList);
    column->addLayout(buttons);
    column->addLayout(modes);
    return group;
}

QGroupBox* ConfigControls::createSpecialOptionsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Special Options"), dialog_);
    preferences = createPushButton(1115, "Preferences", 56, 17);
    randomise = createPushButton(1105, "Randomise", 56, 17);
    help = createPushButton(1132, "Help", 56, 17);
    auto* grid = new QGridLayout(group);
    grid->addWidget(preferences, 0, 0);
    grid->addWidget(randomise, 1, 0);
    grid->addWidget(help, 1, 1);
    return group;
}

QGroupBox* ConfigControls::createEditLayersGroup() {
    auto* group = new QGroupBox(QStringLiteral("Edit Layers"), dialog_);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Layer"), dialog_), 0, 0, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Amount"), dialog_), 0, 1, Qt::AlignHCenter);
    const struct {
        const char* caption;
        int layer;
        int slider;
    } rows[] = {{"Top", 2, TOP_AMOUNT}, {"Middle", 1, MIDDLE_AMOUNT}, {"Bottom", 0, BOTTOM}};
    for (int row = 0; row < LAYERS_PER_PATTERN; ++row) {
        QPushButton* button =
            createPushButton(LAYER_BUTTON_IDS[rows[row].layer], rows[row].caption, 40, 16);
        layerButtons[rows[row].layer] = button;
        grid->addWidget(button, row + 1, 0);
        grid->addWidget(sliders[rows[row].slider], row + 1, 1);
    }
    background = createPushButton(1007, "Background", 55, 14);
    darkBorders = DialogBase::named(new QCheckBox(QStringLiteral("Dark Borders"), dialog_), 1129,
                                    QStringLiteral("Dark Borders"));
    grid->addWidget(background, 4, 0);
    grid->addWidget(darkBorders, 4, 1);
    return group;
}

// Down the left column, then down the right one, each group row by row. The
// drop-down lists take no part.
void ConfigControls::setTabOrder() {
    QWidget* const order[] = {
        ok, cancel, quickHelp,
        // Overall Image Characteristics.
        sliders[ANIMATION], sliders[SIZE], sliders[BALANCE], symmetryDown, symmetryEdit, symmetryUp,
        sliders[SPEED], sliders[ROTATION], resetTimeEdit,
        // Saved Patterns.
        save, remove, banks, fullScreenModes->button(FULLSCREEN_USE_CURRENT),
        fullScreenModes->button(FULLSCREEN_USE_RANDOM),
        fullScreenModes->button(FULLSCREEN_AUTO_GENERATE),
        fullScreenModes->button(FULLSCREEN_CYCLE),
        // Special Options.
        preferences, randomise, help,
        // Edit Layers.
        layerButtons[2], sliders[TOP_AMOUNT], layerButtons[1], sliders[MIDDLE_AMOUNT],
        layerButtons[0], sliders[BOTTOM], background, darkBorders};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

} // namespace lumivane
