#include "ui/LayerDialog.h"

#include "engine/ColourTools.h"
#include "engine/Scene.h"
#include "engine/Shapes.h"
#include "patterns/DataStore.h"
#include "ui/ColourButton.h"
#include "ui/CustomColours.h"
#include "ui/DialogUnits.h"
#include "ui/DropDownList.h"
#include "ui/HelpTexts.h"
#include "ui/ModalRunner.h"
#include "ui/ShapeSlotGroup.h"
#include "view/KaleidoView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

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

// The generator's layer draw, with every ratio and size kept as drawn.
void LayerDialog::randomiseSlots(Layer& layer) {
    ColourTools::randomiseLayer(layer, {.mayDropThirdSlot = false, .favourLargerPieces = false});
}

LayerDialog::LayerDialog(const DialogContext& context, const Pattern& pattern, const Layer& layer,
                         QWidget* parent)
    : DialogBase(context, LAYER_DIALOG_HELP, parent), layer_(layer), pattern_(pattern) {
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
    QPushButton* ok = pushButton(1, "OK");
    QPushButton* cancel = pushButton(2, "Cancel");
    QPushButton* randomiseButton = pushButton(1105, "Randomise");
    // Enter ends the editor with OK whatever the preferences say.
    ok->setDefault(true);
    QToolButton* quickHelp = createQuickHelpButton();
    quickHelp->setMinimumSize(dialogUnits(this, 18, 17));
    quickHelp->setIconSize(QSize(1, 1) * dialogUnitsY(this, 13));
    // OK and Cancel have no help texts: they end the editor in quick-help mode too.
    connect(ok, &QPushButton::clicked, this, &LayerDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &LayerDialog::reject);
    onCommand(randomiseButton, 1105, &LayerDialog::randomise);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(randomiseButton);
    buttons->addStretch();
    buttons->addWidget(quickHelp);
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

void LayerDialog::connectSlot(int slot) {
    const ShapeSlotGroup& controls = *slots_[slot];
    const ShapeSlotGroup::Ids& ids = controls.ids;
    const auto apply = [this] { applyLayer(); };
    // Sliders apply when they are let go.
    onSlider(controls.ratio, ids.ratio, SliderRule::ApplyAtEnd, apply);
    onSlider(controls.size, ids.size, SliderRule::ApplyAtEnd, apply);
    onSlider(controls.animate, ids.animate, SliderRule::ApplyAtEnd, apply);
    connect(controls.shapeList, &DropDownList::currentIndexChanged, this,
            &LayerDialog::chooseShape);
    onListClosed(controls.shapeList, ids.shapeList, nullptr);
    onChoice(controls.colourModes, ids.colourModes, apply);
    onChoice(controls.sizeModes, ids.sizeModes, apply);
    onChoice(controls.angleModes, ids.angleModes, apply);
    onSwitch(controls.border, ids.border, apply);
    onCommand(controls.colourButton, ids.colourButton, [this, slot] { chooseColour(slot); });
}

// ---- Data exchange ---------------------------------------------------------

void LayerDialog::showLayerControls() {
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        const ShapeSlotGroup& controls = *slots_[i];
        // A shape this list does not offer (from a pattern file) shows no
        // entry and is kept.
        const int shape = layer_.shape[i];
        controls.shapeList->selectQuietly(shape >= 0 && shape < EDITABLE_SHAPE_COUNT ? shape : -1);
        controls.colourButton->setColour(layer_.colour[i]);
        for (const auto& [slider, value] :
             {std::pair{controls.size, layer_.size[i]}, std::pair{controls.ratio, layer_.ratio[i]},
              std::pair{controls.animate, layer_.animate[i]}}) {
            const QSignalBlocker blocker(slider);
            slider->setValue(value);
        }
    }
    restoreControls();
}

// What a help click may have changed goes back to what the layer holds.
void LayerDialog::restoreControls() {
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        const ShapeSlotGroup& controls = *slots_[i];
        showChoice(controls.angleModes, layer_.angleMode[i]);
        showChoice(controls.colourModes, layer_.colourMode[i]);
        showChoice(controls.sizeModes, layer_.sizeMode[i]);
        const QSignalBlocker blocker(controls.border);
        controls.border->setChecked(layer_.border[i] != 0);
    }
}

// A choice without a button (a value this program does not know) stays.
void LayerDialog::readLayerControls() {
    for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
        const ShapeSlotGroup& controls = *slots_[i];
        if (controls.shapeList->currentIndex() >= 0)
            layer_.shape[i] = controls.shapeList->currentIndex();
        layer_.colour[i] = controls.colourButton->colour();
        layer_.size[i] = controls.size->value();
        layer_.ratio[i] = controls.ratio->value();
        layer_.animate[i] = controls.animate->value();
        takeChoice(layer_.angleMode[i], controls.angleModes->checkedId());
        takeChoice(layer_.colourMode[i], controls.colourModes->checkedId());
        takeChoice(layer_.sizeMode[i], controls.sizeModes->checkedId());
        layer_.border[i] = controls.border->isChecked() ? 1 : 0;
    }
    noteRead();
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
    setWindowTitle(QString::fromLatin1(LAYER_DIALOG_CHANGED_TITLE));
}

void LayerDialog::pausePreviews() {
    preview_->setRunning(false);
}

void LayerDialog::resumePreviews() {
    preview_->setRunning(true);
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
    return DialogBase::eventFilter(watched, event);
}

// ---- Commands --------------------------------------------------------------

void LayerDialog::chooseShape() {
    // In quick-help mode the next apply takes the new shape.
    if (!quickHelpActive())
        applyLayer();
}

// The custom colours are the store's, given back whichever way the chooser ends.
void LayerDialog::chooseColour(int slot) {
    DataStore& store = *context_.store;
    handCustomColoursToQt(store);
    const ScopedModal<QColorDialog> chooser(toQColor(slots_[slot]->colourButton->colour()), this);
    chooser->setObjectName(QStringLiteral("colourChooser"));
    chooser->setWindowTitle(ShapeSlotGroup::nameOf(slot) + QStringLiteral(" Colour"));
    // Qt's own chooser: the desktop's would not show the custom colours.
    chooser->setOption(QColorDialog::DontUseNativeDialog);
    const std::optional<int> result = runModal(*chooser);
    takeCustomColoursFromQt(store);
    if (!result)
        return;
    if (*result == QDialog::Accepted)
        slots_[slot]->colourButton->setColour(toColourRef(chooser->selectedColor()));
    applyLayer();
}

void LayerDialog::randomise() {
    randomiseSlots(layer_);
    showLayerControls();
    spreadPieces();
    markChanged();
    focusSinkIfWanted();
}

} // namespace lumivane
