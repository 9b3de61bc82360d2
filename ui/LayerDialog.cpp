#include "ui/LayerDialog.h"

#include "engine/ColourTools.h"
#include "engine/Random.h"
#include "engine/Scene.h"
#include "engine/Shapes.h"
#include "patterns/DataStore.h"
#include "ui/ColourButton.h"
#include "ui/CustomColours.h"
#include "ui/DialogUnits.h"
#include "ui/DropDownList.h"
#include "ui/HelpTexts.h"
#include "ui/ModalRunner.h"
#include "ui/QuickHelp.h"
#include "view/KaleidoView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

namespace lumivane {
namespace {

// The editor's preview shows this many pieces of the layer, whatever the
// pattern's layer amounts are.
constexpr int PREVIEW_PIECES = 100;
// A frame every 540 - 5 x 100 = 40 ms.
constexpr int PREVIEW_SPEED = 100;

// Template ids of one slot's controls.
struct SlotIds {
    int shapeList;
    int ratio;
    int colourButton;
    int colourModes[4];
    int size;
    int sizeModes[3];
    int angleModes[3];
    int animate;
    int border;
};

constexpr SlotIds SLOT_IDS[SLOTS_PER_LAYER] = {
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

QString slotName(int slot) {
    return QStringLiteral("Shape %1").arg(slot + 1);
}

// Checks the button of value, or none when no button has that value.
void showChoice(QButtonGroup* group, int value) {
    if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

// The field takes the chosen button's value; with none chosen (a value this
// program does not know) it stays as it was.
void takeChoice(std::int32_t& field, std::int32_t value) {
    if (value >= 0)
        field = value;
}

} // namespace

QString LayerDialog::helpText(int id) {
    return helpTextIn(LAYER_DIALOG_HELP, id);
}

// Draws the same quantities in the same order as the pattern generator's
// layer randomiser, but keeps every ratio and size as drawn.
void LayerDialog::randomiseSlots(Layer& layer) {
    RandomSource& random = sharedRandom();
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        layer.angleMode[i] = random.drawMod(3);
        layer.animate[i] = random.draw() >= COIN_THRESHOLD ? random.drawMod(100) : 0;
        layer.border[i] = random.draw() < COIN_THRESHOLD ? 1 : 0;
        const int value = random.drawMod(75) + 26;
        const int saturation = random.drawMod(75) + 26;
        const int hue = random.drawMod(360);
        layer.colour[i] = ColourTools::hsvToRgb(hue, saturation, value);
        layer.colourMode[i] = random.draw() >= COIN_THRESHOLD ? random.drawMod(3) + 1 : 0;
        layer.shape[i] = random.drawMod(EDITABLE_SHAPE_COUNT);
        layer.ratio[i] = random.drawMod(101);
        layer.size[i] = random.drawMod(101);
        layer.sizeMode[i] = random.drawMod(3);
    }
}

LayerDialog::LayerDialog(const DialogContext& context, const Pattern& pattern, const Layer& layer,
                         QWidget* parent)
    : DialogBase(context, parent), layer_(layer), pattern_(pattern) {
    setWindowTitle(QString::fromLatin1(LAYER_DIALOG_TITLE));
    setObjectName(QStringLiteral("layerDialog"));

    preview_ =
        named(new KaleidoView(context_.viewEnvironment(), this), 1006, QStringLiteral("Preview"));
    preview_->setMinimumSize(dialogUnits(this, 136, 84));
    preview_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    const auto pushButton = [this](int id, const char* caption) {
        auto* button = named(new QPushButton(QString::fromLatin1(caption), this), id,
                             QString::fromLatin1(caption));
        button->setMinimumSize(dialogUnits(this, 44, 14));
        return button;
    };
    okButton_ = pushButton(1, "OK");
    QPushButton* cancel = pushButton(2, "Cancel");
    QPushButton* randomiseButton = pushButton(1105, "Randomise");
    // Enter ends the editor with OK whatever the preferences say.
    okButton_->setDefault(true);
    quickHelp_ = new QuickHelp(this, *context_.options, *context_.runner);
    quickHelp_->button()->setMinimumSize(dialogUnits(this, 18, 17));
    quickHelp_->button()->setIconSize(QSize(1, 1) * dialogUnitsY(this, 13));
    connect(okButton_, &QPushButton::clicked, this, &LayerDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &LayerDialog::reject);
    connect(randomiseButton, &QPushButton::clicked, this, &LayerDialog::randomise);
    connect(quickHelp_, &QuickHelp::buttonPressed, this, &LayerDialog::pressQuickHelp);

    // Takes the focus when no control may show a focus mark.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(cancel);
    buttons->addWidget(randomiseButton);
    buttons->addStretch();
    buttons->addWidget(quickHelp_->button());
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(preview_, 1);
    previewColumn->addLayout(buttons);

    auto* grid = new QGridLayout(this);
    grid->addLayout(previewColumn, 0, 0);
    grid->addWidget(buildSlot(0), 0, 1);
    grid->addWidget(buildSlot(1), 1, 0);
    grid->addWidget(buildSlot(2), 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    setWindowIcon(QApplication::windowIcon());

    captionText_ = QString::fromLatin1(LAYER_DIALOG_CHANGED_TITLE);
    showLayerControls();

    // The preview: the pattern's image-wide settings, the edited layer alone.
    preview_->attachScene(context_.editorScene, pattern_);
    preview_->setFrameInterval(PREVIEW_SPEED);
    spreadPieces();
    preview_->installEventFilter(this);
    for (int slot = 0; slot < SLOTS_PER_LAYER; ++slot)
        connectSlot(slot);
}

LayerDialog::~LayerDialog() = default;

bool LayerDialog::quickHelpActive() const {
    return quickHelp_->isActive();
}

QGroupBox* LayerDialog::buildSlot(int slot) {
    const SlotIds& ids = SLOT_IDS[slot];
    const QString name = slotName(slot);
    Slot& controls = slots_[slot];
    const auto slider = [this, &name](Qt::Orientation orientation, int id, const char* what) {
        auto* control = named(new QSlider(orientation, this), id,
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
            auto* radio = named(new QRadioButton(caption, this), ids[value],
                                name + QLatin1Char(' ') + QString::fromLatin1(what) +
                                    QLatin1Char(' ') + caption);
            group->addButton(radio, value);
        }
        return group->buttons();
    };

    auto* box = new QGroupBox(name, this);
    box->setObjectName(QStringLiteral("shape%1").arg(slot + 1));

    // Shape / Ratio.
    auto* shapeBox = new QGroupBox(QStringLiteral("Shape / Ratio"), this);
    controls.shapeList =
        named(new DropDownList(this), ids.shapeList, name + QStringLiteral(" shape"));
    controls.shapeList->setMaxVisibleItems(EDITABLE_SHAPE_COUNT);
    for (int shape = 0; shape < EDITABLE_SHAPE_COUNT; ++shape)
        controls.shapeList->addItem(QString::fromStdString(shapeName(shape)));
    controls.ratio = slider(Qt::Horizontal, ids.ratio, "ratio");
    controls.ratio->setMinimumWidth(dialogUnitsX(this, 70));
    auto* shapeColumn = new QVBoxLayout(shapeBox);
    shapeColumn->addWidget(controls.shapeList);
    shapeColumn->addWidget(controls.ratio);

    // Colour.
    auto* colourBox = new QGroupBox(QStringLiteral("Colour"), this);
    controls.colourButton = named(new ColourButton(QStringLiteral("Colour"), this),
                                  ids.colourButton, name + QStringLiteral(" colour"));
    controls.colourButton->setMinimumSize(dialogUnits(this, 40, 14));
    auto* colourGrid = new QGridLayout(colourBox);
    colourGrid->addWidget(controls.colourButton, 0, 0, 1, 2);
    const QList<QAbstractButton*> colourRadios =
        choices(controls.colourModes, ids.colourModes, COLOUR_MODES, 4, "colour");
    for (int i = 0; i < colourRadios.size(); ++i)
        colourGrid->addWidget(colourRadios[i], 1 + i / 2, i % 2);

    // Size: the vertical slider has 0 at its top end, and the smaller the
    // value the larger the pieces.
    auto* sizeBox = new QGroupBox(QStringLiteral("Size"), this);
    controls.size = slider(Qt::Vertical, ids.size, "size");
    controls.size->setInvertedAppearance(true);
    controls.size->setInvertedControls(true);
    controls.size->setMinimumHeight(dialogUnitsY(this, 40));
    auto* sizeRadios = new QVBoxLayout;
    for (QAbstractButton* radio : choices(controls.sizeModes, ids.sizeModes, SIZE_MODES, 3, "size"))
        sizeRadios->addWidget(radio);
    auto* sizeRow = new QHBoxLayout(sizeBox);
    sizeRow->addWidget(controls.size);
    sizeRow->addLayout(sizeRadios);

    // Angle.
    auto* angleBox = new QGroupBox(QStringLiteral("Angle"), this);
    auto* angleRadios = new QVBoxLayout(angleBox);
    for (QAbstractButton* radio :
         choices(controls.angleModes, ids.angleModes, ANGLE_MODES, 3, "angle"))
        angleRadios->addWidget(radio);

    // Animate, and the border below it.
    auto* animateBox = new QGroupBox(QStringLiteral("Animate"), this);
    controls.animate = slider(Qt::Horizontal, ids.animate, "animate");
    controls.animate->setMinimumWidth(dialogUnitsX(this, 50));
    auto* animateColumn = new QVBoxLayout(animateBox);
    animateColumn->addWidget(controls.animate);
    controls.border = named(new QCheckBox(QStringLiteral("Border"), this), ids.border,
                            name + QStringLiteral(" border"));
    auto* lastColumn = new QVBoxLayout;
    lastColumn->addWidget(animateBox);
    lastColumn->addWidget(controls.border);
    lastColumn->addStretch();

    auto* grid = new QGridLayout(box);
    grid->addWidget(shapeBox, 0, 0, 1, 2);
    grid->addWidget(colourBox, 0, 2);
    grid->addWidget(sizeBox, 1, 0);
    grid->addWidget(angleBox, 1, 1);
    grid->addLayout(lastColumn, 1, 2);
    return box;
}

void LayerDialog::connectSlot(int slot) {
    const SlotIds& ids = SLOT_IDS[slot];
    const Slot& controls = slots_[slot];
    for (const auto& [slider, id] :
         {std::pair{controls.ratio, ids.ratio}, std::pair{controls.size, ids.size},
          std::pair{controls.animate, ids.animate}}) {
        QSlider* control = slider;
        const int sliderId = id;
        connect(control, &QSlider::valueChanged, this, &LayerDialog::moveSlider);
        onEndOfTracking(control, [this, sliderId] { endSliderTracking(sliderId); });
    }
    connect(controls.shapeList, &DropDownList::activated, this, &LayerDialog::chooseShape);
    connect(controls.shapeList, &DropDownList::listClosed, this,
            [this, slot] { closeShapeList(slot); });
    for (QButtonGroup* group : {controls.colourModes, controls.sizeModes, controls.angleModes}) {
        for (QAbstractButton* radio : group->buttons()) {
            const int id = radio->objectName().mid(2).toInt();
            connect(radio, &QAbstractButton::clicked, this, [this, id] { clickOption(id); });
        }
    }
    connect(controls.border, &QCheckBox::clicked, this,
            [this, id = ids.border] { clickOption(id); });
    connect(controls.colourButton, &QPushButton::clicked, this,
            [this, slot] { chooseColour(slot); });
}

// ---- Data exchange ---------------------------------------------------------

void LayerDialog::showLayerControls() {
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        const Slot& controls = slots_[i];
        {
            // A shape this list does not offer (from a pattern file) shows no
            // entry and is kept.
            const QSignalBlocker blocker(controls.shapeList);
            const int shape = layer_.shape[i];
            controls.shapeList->setCurrentIndex(shape >= 0 && shape < EDITABLE_SHAPE_COUNT ? shape
                                                                                           : -1);
        }
        slotColours_[i] = layer_.colour[i];
        for (const auto& [slider, value] :
             {std::pair{controls.size, layer_.size[i]}, std::pair{controls.ratio, layer_.ratio[i]},
              std::pair{controls.animate, layer_.animate[i]}}) {
            const QSignalBlocker blocker(slider);
            slider->setValue(value);
        }
        angleModeValues_[i] = layer_.angleMode[i];
        colourModeValues_[i] = layer_.colourMode[i];
        sizeModeValues_[i] = layer_.sizeMode[i];
        borderValues_[i] = layer_.border[i];
    }
    moveMembersToControls();
}

void LayerDialog::moveMembersToControls() {
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        const Slot& controls = slots_[i];
        showChoice(controls.angleModes, angleModeValues_[i]);
        showChoice(controls.colourModes, colourModeValues_[i]);
        showChoice(controls.sizeModes, sizeModeValues_[i]);
        controls.border->setChecked(borderValues_[i] != 0);
        controls.colourButton->setColour(toQColor(slotColours_[i]));
    }
}

void LayerDialog::moveControlsToMembers() {
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        const Slot& controls = slots_[i];
        angleModeValues_[i] = controls.angleModes->checkedId();
        colourModeValues_[i] = controls.colourModes->checkedId();
        sizeModeValues_[i] = controls.sizeModes->checkedId();
        borderValues_[i] = controls.border->isChecked() ? 1 : 0;
    }
}

void LayerDialog::readLayerControls() {
    moveControlsToMembers();
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        const Slot& controls = slots_[i];
        if (controls.shapeList->currentIndex() >= 0)
            layer_.shape[i] = controls.shapeList->currentIndex();
        layer_.colour[i] = slotColours_[i];
        layer_.size[i] = controls.size->value();
        layer_.ratio[i] = controls.ratio->value();
        layer_.animate[i] = controls.animate->value();
        takeChoice(layer_.angleMode[i], angleModeValues_[i]);
        takeChoice(layer_.colourMode[i], colourModeValues_[i]);
        takeChoice(layer_.sizeMode[i], sizeModeValues_[i]);
        layer_.border[i] = borderValues_[i] != 0 ? 1 : 0;
    }
}

void LayerDialog::applyLayer() {
    readLayerControls();
    spreadPieces();
    markChanged();
    focusSinkIfWanted();
}

// The pieces are shared among the slots by their ratios, so the preview shows
// the same number whatever the layer amounts of the pattern are.
void LayerDialog::spreadPieces() {
    if (Scene* scene = context_.editorScene) {
        scene->clearPieces();
        scene->addLayerPieces(layer_, PREVIEW_PIECES);
    }
}

void LayerDialog::markChanged() {
    setWindowTitle(captionText_);
}

void LayerDialog::pausePreview() {
    preview_->setRunning(false);
}

void LayerDialog::resumePreview() {
    preview_->setRunning(true);
}

// ---- Quick help ------------------------------------------------------------

bool LayerDialog::explain(int id) {
    if (!quickHelp_->isActive())
        return false;
    showQuickHelp(helpText(id));
    return true;
}

void LayerDialog::showQuickHelp(const QString& text) {
    quickHelp_->leave();
    // A check box or radio button the help click changed shows its value again.
    moveMembersToControls();
    pausePreview();
    quickHelp_->showText(text);
    resumePreview();
}

void LayerDialog::pressQuickHelp() {
    if (quickHelp_->isActive()) {
        showQuickHelp(helpText(1117));
        return;
    }
    quickHelp_->enter();
}

bool LayerDialog::eventFilter(QObject* watched, QEvent* event) {
    // The pieces are spread over the preview's size, and a new size restarts
    // the view's frame timer at the pattern's speed: once the view has taken
    // it (the first size comes only when the dialog shows), spread them again
    // and put the timer back to the editor's fixed rate.
    if (watched == preview_ && event->type() == QEvent::Resize) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                preview_->setFrameInterval(PREVIEW_SPEED);
                spreadPieces();
            },
            Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Commands --------------------------------------------------------------

void LayerDialog::moveSlider() {
    // In quick-help mode the slider stays where it was moved; the next apply
    // takes its position.
    if (quickHelp_->isActive())
        moveMembersToControls();
}

void LayerDialog::endSliderTracking(int id) {
    if (explain(id))
        return;
    applyLayer();
}

void LayerDialog::chooseShape() {
    // In quick-help mode the next apply takes the new shape.
    if (!quickHelp_->isActive())
        applyLayer();
}

void LayerDialog::closeShapeList(int slot) {
    explain(SLOT_IDS[slot].shapeList);
}

void LayerDialog::clickOption(int id) {
    if (explain(id))
        return;
    applyLayer();
}

void LayerDialog::chooseColour(int slot) {
    if (explain(SLOT_IDS[slot].colourButton))
        return;
    pausePreview();
    DataStore& store = *context_.store;
    handCustomColoursToQt(store);
    QColorDialog chooser(toQColor(slotColours_[slot]), this);
    chooser.setObjectName(QStringLiteral("colourChooser"));
    chooser.setWindowTitle(slotName(slot) + QStringLiteral(" Colour"));
    // Qt's own chooser: the desktop's would not show the custom colours.
    chooser.setOption(QColorDialog::DontUseNativeDialog);
    const int result = context_.runner->exec(chooser);
    takeCustomColoursFromQt(store);
    if (result == QDialog::Accepted) {
        slotColours_[slot] = toColourRef(chooser.selectedColor());
        slots_[slot].colourButton->setColour(toQColor(slotColours_[slot]));
    }
    resumePreview();
    applyLayer();
}

void LayerDialog::randomise() {
    if (explain(1105))
        return;
    randomiseSlots(layer_);
    showLayerControls();
    spreadPieces();
    markChanged();
    focusSinkIfWanted();
}

} // namespace lumivane
