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
#include "ui/ShapeSlotGroup.h"
#include "view/KaleidoView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace lumivane {
namespace {

// The editor's preview shows this many pieces of the layer, whatever the
// pattern's layer amounts are.
constexpr int PREVIEW_PIECES = 100;
// A frame every 540 - 5 x 100 = 40 ms.
constexpr int PREVIEW_SPEED = 100;

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
    for (int slot = 0; slot < SLOTS_PER_LAYER; ++slot)
        slots_[slot] = new ShapeSlotGroup(slot, this);
    grid->addWidget(slots_[0], 0, 1);
    grid->addWidget(slots_[1], 1, 0);
    grid->addWidget(slots_[2], 1, 1);
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

void LayerDialog::connectSlot(int slot) {
    const ShapeSlotGroup& controls = *slots_[slot];
    const ShapeSlotGroup::Ids& ids = controls.ids;
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
        const ShapeSlotGroup& controls = *slots_[i];
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
        const ShapeSlotGroup& controls = *slots_[i];
        showChoice(controls.angleModes, angleModeValues_[i]);
        showChoice(controls.colourModes, colourModeValues_[i]);
        showChoice(controls.sizeModes, sizeModeValues_[i]);
        controls.border->setChecked(borderValues_[i] != 0);
        controls.colourButton->setColour(toQColor(slotColours_[i]));
    }
}

void LayerDialog::moveControlsToMembers() {
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        const ShapeSlotGroup& controls = *slots_[i];
        angleModeValues_[i] = controls.angleModes->checkedId();
        colourModeValues_[i] = controls.colourModes->checkedId();
        sizeModeValues_[i] = controls.sizeModes->checkedId();
        borderValues_[i] = controls.border->isChecked() ? 1 : 0;
    }
}

void LayerDialog::readLayerControls() {
    moveControlsToMembers();
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        const ShapeSlotGroup& controls = *slots_[i];
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
    explain(ShapeSlotGroup::idsOf(slot).shapeList);
}

void LayerDialog::clickOption(int id) {
    if (explain(id))
        return;
    applyLayer();
}

void LayerDialog::chooseColour(int slot) {
    if (explain(ShapeSlotGroup::idsOf(slot).colourButton))
        return;
    pausePreview();
    DataStore& store = *context_.store;
    handCustomColoursToQt(store);
    QColorDialog chooser(toQColor(slotColours_[slot]), this);
    chooser.setObjectName(QStringLiteral("colourChooser"));
    chooser.setWindowTitle(ShapeSlotGroup::nameOf(slot) + QStringLiteral(" Colour"));
    // Qt's own chooser: the desktop's would not show the custom colours.
    chooser.setOption(QColorDialog::DontUseNativeDialog);
    const int result = context_.runner->exec(chooser);
    takeCustomColoursFromQt(store);
    if (result == QDialog::Accepted) {
        slotColours_[slot] = toColourRef(chooser.selectedColor());
        slots_[slot]->colourButton->setColour(toQColor(slotColours_[slot]));
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
