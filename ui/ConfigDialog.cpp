#include "ui/ConfigDialog.h"

#include "engine/ColourTools.h"
#include "patterns/DataStore.h"
#include "ui/AboutDialog.h"
#include "ui/BackgroundColourDialog.h"
#include "ui/BankDialog.h"
#include "ui/DialogUnits.h"
#include "ui/DropDownList.h"
#include "ui/HelpTexts.h"
#include "ui/LayerDialog.h"
#include "ui/ModalRunner.h"
#include "ui/NameText.h"
#include "ui/PatternNameDialog.h"
#include "ui/PreferencesDialog.h"
#include "ui/QuickHelp.h"
#include "view/KaleidoView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>

#include <charconv>

namespace lumivane {
namespace {

constexpr int MIN_RESET_TIME = 1;
constexpr int MAX_RESET_TIME = 1000000;

// The sliders in member order, with their template ids, labels and fields.
struct SliderDef {
    int id;
    const char* label;
    const char* accessibleName;
    std::int32_t Pattern::*field;
    int layer; // for the amount sliders: which element of amount
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

std::int32_t& sliderField(Pattern& pattern, const SliderDef& slider) {
    return slider.field != nullptr ? pattern.*slider.field : pattern.amount[slider.layer];
}

constexpr const char* SCREEN_SHAPES[] = {"Circle", "Oval", "Rectangle", "Three Mirror"};

// Template ids of the full-screen mode radio buttons, in mode order.
constexpr int FULL_SCREEN_MODE_IDS[] = {1123, 1124, 1125, 1127};
constexpr const char* FULL_SCREEN_MODE_CAPTIONS[] = {"Use Current", "Use Random", "Auto-Generate",
                                                     "Cycle"};

std::optional<std::int32_t> parseInteger(const QString& text) {
    const std::string digits = text.trimmed().toStdString();
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

} // namespace

QString ConfigDialog::helpText(int id) {
    return helpTextIn(MAIN_DIALOG_HELP, id);
}

ConfigDialog::ConfigDialog(const DialogContext& context, QWidget* parent)
    : DialogBase(context, parent) {
    setWindowTitle(QString::fromLatin1(CONFIG_DIALOG_TITLE));
    setObjectName(QStringLiteral("configDialog"));
    buildControls();

    fullScreenModeValue_ = context_.store->fullScreenMode;
    setDefaultButton();
    if (context_.store->count() == 0)
        context_.store->resetToDefaults();
    fillPatternList();
    workingPattern_ = context_.store->current;
    showControls();

    preview_->attachScene(context_.mainScene, workingPattern_);
    preview_->setEditorPreview(true);
    preview_->reset();
    writeSymmetryText();
    connectControls();
}

ConfigDialog::~ConfigDialog() = default;

bool ConfigDialog::quickHelpActive() const {
    return quickHelp_->isActive();
}

void ConfigDialog::buildControls() {
    const auto pushButton = [this](int id, const char* caption, int widthUnits, int heightUnits) {
        auto* button = named(new QPushButton(QString::fromLatin1(caption), this), id,
                             QString::fromLatin1(caption));
        button->setMinimumSize(dialogUnits(this, widthUnits, heightUnits));
        return button;
    };
    const auto slider = [this](int index) {
        const SliderDef& def = SLIDERS[index];
        auto* control = named(new QSlider(Qt::Horizontal, this), def.id,
                              QString::fromLatin1(def.accessibleName));
        control->setRange(0, 100);
        control->setTickInterval(10);
        control->setTickPosition(QSlider::TicksBelow);
        control->setPageStep(10);
        control->setMinimumWidth(dialogUnitsX(this, 59));
        sliders_[index] = control;
        return control;
    };
    const auto labelled = [this](const char* caption, QWidget* control) {
        auto* column = new QVBoxLayout;
        column->setSpacing(dialogUnitsY(this, 1));
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(control);
        column->addWidget(label);
        column->addWidget(control);
        return column;
    };

    // The preview, and the dialog's own buttons below it.
    preview_ = new KaleidoView(context_.viewEnvironment(), this);
    named(preview_, 1006, QStringLiteral("Preview"));
    preview_->setMinimumSize(dialogUnits(this, 202, 133));
    preview_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    okButton_ = pushButton(1, "OK", 66, 17);
    QPushButton* cancel = pushButton(2, "Cancel", 66, 17);
    quickHelp_ = new QuickHelp(this, *context_.options, *context_.runner);
    quickHelp_->button()->setMinimumSize(dialogUnits(this, 20, 17));
    quickHelp_->button()->setIconSize(QSize(1, 1) * dialogUnitsY(this, 13));
    connect(okButton_, &QPushButton::clicked, this, &ConfigDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &ConfigDialog::reject);

    // Enter presses this one when it is the default: nothing happens.
    defaultButtonSink_ = named(new QPushButton(this), 1130, QString());
    defaultButtonSink_->hide();
    // Takes the focus when no control may show a focus mark.
    auto* dialogButtons = new QHBoxLayout;
    dialogButtons->addWidget(okButton_);
    dialogButtons->addWidget(cancel);
    dialogButtons->addStretch();
    dialogButtons->addWidget(quickHelp_->button());

    // Overall Image Characteristics.
    auto* overall = new QGroupBox(QStringLiteral("Overall Image Characteristics"), this);
    shapeList_ = named(new DropDownList(this), 1112, QStringLiteral("Screen shape"));
    for (const char* shape : SCREEN_SHAPES)
        shapeList_->addItem(QString::fromLatin1(shape));
    shapeList_->setMinimumWidth(dialogUnitsX(this, 113));
    for (int i = 0; i < 8; ++i)
        slider(i);

    auto* symmetryDown = pushButton(1101, "<<", 15, 14);
    auto* symmetryUp = pushButton(1100, ">>", 15, 14);
    symmetryDown->setAccessibleName(QStringLiteral("Symmetry down"));
    symmetryUp->setAccessibleName(QStringLiteral("Symmetry up"));
    for (QPushButton* step : {symmetryDown, symmetryUp}) {
        step->setMaximumWidth(dialogUnitsX(this, 18));
        connect(step, &QPushButton::clicked, this, [this, step, symmetryUp] {
            stepSymmetry(step == symmetryUp ? 1100 : 1101, step == symmetryUp ? 1 : -1);
        });
    }
    symmetryEdit_ = named(new QLineEdit(this), 1000, QStringLiteral("Symmetry"));
    symmetryEdit_->setReadOnly(true);
    symmetryEdit_->setAlignment(Qt::AlignCenter);
    symmetryEdit_->setFixedWidth(dialogUnitsX(this, 22));
    auto* symmetryRow = new QHBoxLayout;
    symmetryRow->setSpacing(dialogUnitsX(this, 2));
    symmetryRow->addWidget(symmetryDown);
    symmetryRow->addWidget(symmetryEdit_);
    symmetryRow->addWidget(symmetryUp);
    auto* symmetryLabel = new QLabel(QStringLiteral("Symmetry"), this);
    symmetryLabel->setBuddy(symmetryEdit_);
    auto* symmetryColumn = new QVBoxLayout;
    symmetryColumn->setSpacing(dialogUnitsY(this, 1));
    symmetryColumn->addWidget(symmetryLabel);
    symmetryColumn->addLayout(symmetryRow);

    resetTimeEdit_ = named(new QLineEdit(this), 1126, QStringLiteral("Reset Time"));
    resetTimeEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    resetTimeEdit_->setFixedWidth(dialogUnitsX(this, 55));

    auto* overallGrid = new QGridLayout(overall);
    overallGrid->addWidget(shapeList_, 0, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    overallGrid->addLayout(labelled("Animation Level", sliders_[0]), 0, 2);
    overallGrid->addLayout(labelled("Size", sliders_[2]), 1, 0);
    overallGrid->addLayout(labelled("Balance", sliders_[1]), 1, 1);
    overallGrid->addLayout(symmetryColumn, 1, 2);
    overallGrid->addLayout(labelled("Speed", sliders_[3]), 2, 0);
    overallGrid->addLayout(labelled("Rotation", sliders_[4]), 2, 1);
    overallGrid->addLayout(labelled("Reset Time", resetTimeEdit_), 2, 2);
    overallGrid->setColumnMinimumWidth(2, dialogUnitsX(this, 59));

    auto* left = new QVBoxLayout;
    left->addWidget(preview_, 1);
    left->addLayout(dialogButtons);
    left->addWidget(overall);

    // Saved Patterns.
    auto* saved = new QGroupBox(QStringLiteral("Saved Patterns"), this);
    patternList_ = named(new DropDownList(this), 1109, QStringLiteral("Saved patterns"));
    patternList_->setMaxVisibleItems(20);
    patternList_->setMinimumWidth(dialogUnitsX(this, 121));
    auto* patternButtons = new QHBoxLayout;
    const struct {
        int id;
        const char* caption;
        void (ConfigDialog::*action)();
    } patternCommands[] = {{1121, "Save", &ConfigDialog::savePattern},
                           {1122, "Delete", &ConfigDialog::deletePattern},
                           {1144, "Banks", &ConfigDialog::editBanks}};
    for (const auto& command : patternCommands) {
        QPushButton* button = pushButton(command.id, command.caption, 32, 15);
        connect(button, &QPushButton::clicked, this, command.action);
        patternButtons->addWidget(button);
    }
    fullScreenModes_ = new QButtonGroup(this);
    auto* modes = new QGridLayout;
    for (int mode = 0; mode < 4; ++mode) {
        const QString caption = QString::fromLatin1(FULL_SCREEN_MODE_CAPTIONS[mode]);
        auto* radio = named(new QRadioButton(caption, this), FULL_SCREEN_MODE_IDS[mode], caption);
        fullScreenModes_->addButton(radio, mode);
        modes->addWidget(radio, mode / 2, mode % 2);
    }
    auto* savedColumn = new QVBoxLayout(saved);
    savedColumn->addWidget(patternList_);
    savedColumn->addLayout(patternButtons);
    savedColumn->addLayout(modes);

    // Special Options.
    auto* special = new QGroupBox(QStringLiteral("Special Options"), this);
    auto* specialGrid = new QGridLayout(special);
    QPushButton* preferences = pushButton(1115, "Preferences", 56, 17);
    QPushButton* randomise = pushButton(1105, "Randomise", 56, 17);
    QPushButton* help = pushButton(1132, "Help", 56, 17);
    specialGrid->addWidget(preferences, 0, 0);
    specialGrid->addWidget(randomise, 1, 0);
    specialGrid->addWidget(help, 1, 1);
    connect(preferences, &QPushButton::clicked, this, &ConfigDialog::editPreferences);
    connect(randomise, &QPushButton::clicked, this, &ConfigDialog::randomisePattern);
    connect(help, &QPushButton::clicked, this, &ConfigDialog::openHelp);

    // Edit Layers.
    auto* layers = new QGroupBox(QStringLiteral("Edit Layers"), this);
    auto* layerGrid = new QGridLayout(layers);
    layerGrid->addWidget(new QLabel(QStringLiteral("Layer"), this), 0, 0, Qt::AlignHCenter);
    layerGrid->addWidget(new QLabel(QStringLiteral("Amount"), this), 0, 1, Qt::AlignHCenter);
    const struct {
        int id;
        const char* caption;
        int layer;
        int slider;
    } layerRows[] = {{1098, "Top", 2, 5}, {1096, "Middle", 1, 6}, {1094, "Bottom", 0, 7}};
    for (int row = 0; row < 3; ++row) {
        QPushButton* button = pushButton(layerRows[row].id, layerRows[row].caption, 40, 16);
        const int layer = layerRows[row].layer;
        connect(button, &QPushButton::clicked, this, [this, layer] { editLayer(layer); });
        layerGrid->addWidget(button, row + 1, 0);
        layerGrid->addWidget(sliders_[layerRows[row].slider], row + 1, 1);
    }
    QPushButton* background = pushButton(1007, "Background", 55, 14);
    connect(background, &QPushButton::clicked, this, &ConfigDialog::editBackground);
    darkBorders_ = named(new QCheckBox(QStringLiteral("Dark Borders"), this), 1129,
                         QStringLiteral("Dark Borders"));
    layerGrid->addWidget(background, 4, 0);
    layerGrid->addWidget(darkBorders_, 4, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(saved);
    right->addWidget(special);
    right->addWidget(layers);
    right->addStretch();

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);

    auto* about = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, &ConfigDialog::showAbout);
    setWindowIcon(QApplication::windowIcon());
}

void ConfigDialog::connectControls() {
    for (QSlider* slider : sliders_) {
        const int id = slider->objectName().mid(2).toInt();
        connect(slider, &QSlider::valueChanged, this, &ConfigDialog::scrollSlider);
        onEndOfTracking(slider, [this, id] { endSliderTracking(id); });
    }
    connect(shapeList_, &DropDownList::activated, this, &ConfigDialog::chooseScreenShape);
    connect(shapeList_, &DropDownList::listClosed, this, &ConfigDialog::closeScreenShapeList);
    connect(patternList_, &DropDownList::activated, this, &ConfigDialog::choosePattern);
    connect(patternList_, &DropDownList::listClosed, this, &ConfigDialog::closePatternList);
    for (QAbstractButton* radio : fullScreenModes_->buttons()) {
        const int id = radio->objectName().mid(2).toInt();
        connect(radio, &QAbstractButton::clicked, this, [this, id] { clickOption(id); });
    }
    connect(darkBorders_, &QCheckBox::clicked, this, [this] { clickOption(1129); });
    connect(resetTimeEdit_, &QLineEdit::textEdited, this, &ConfigDialog::editResetTime);
    preview_->installEventFilter(this);
    symmetryEdit_->installEventFilter(this);
    resetTimeEdit_->installEventFilter(this);
    connect(quickHelp_, &QuickHelp::buttonPressed, this, &ConfigDialog::pressQuickHelp);
}

// ---- Data exchange ---------------------------------------------------------

void ConfigDialog::fillPatternList() {
    const QSignalBlocker blocker(patternList_);
    patternList_->clear();
    const DataStore& store = *context_.store;
    for (int i = 0; i < store.count(); ++i)
        patternList_->addItem(nameText(*store.patternAt(i)));
}

void ConfigDialog::showControls() {
    symmetryValue_ = workingPattern_.symmetry;
    resetTimeValue_ = workingPattern_.resetTime;
    for (int i = 0; i < 8; ++i) {
        const QSignalBlocker blocker(sliders_[i]);
        sliders_[i]->setValue(sliderField(workingPattern_, SLIDERS[i]));
    }
    {
        const QSignalBlocker blocker(shapeList_);
        const int shape = workingPattern_.screenShape;
        shapeList_->setCurrentIndex(shape >= 0 && shape < shapeList_->count() ? shape : -1);
    }
    patternList_->selectQuietly(context_.store->currentIndex);
    darkBordersValue_ = workingPattern_.darkBorders;
    moveMembersToControls();
}

void ConfigDialog::moveMembersToControls() {
    writeSymmetryText();
    showChoice(fullScreenModes_, fullScreenModeValue_);
    resetTimeEdit_->setText(QString::number(resetTimeValue_));
    darkBorders_->setChecked(darkBordersValue_ != 0);
}

bool ConfigDialog::moveControlsToMembers() {
    if (const std::optional<std::int32_t> symmetry = parseInteger(symmetryEdit_->text()))
        symmetryValue_ = *symmetry;
    fullScreenModeValue_ = fullScreenModes_->checkedId();
    const std::optional<std::int32_t> resetTime = parseInteger(resetTimeEdit_->text());
    if (!resetTime || *resetTime < MIN_RESET_TIME || *resetTime > MAX_RESET_TIME) {
        const QString text = resetTime
                                 ? QStringLiteral("Please enter an integer between %1 and %2.")
                                       .arg(MIN_RESET_TIME)
                                       .arg(MAX_RESET_TIME)
                                 : QStringLiteral("Please enter an integer.");
        pausePreview();
        showMessage(*context_.runner, this, QMessageBox::Warning, context_.applicationName, text);
        resumePreview();
        resetTimeEdit_->setFocus();
        return false;
    }
    resetTimeValue_ = *resetTime;
    darkBordersValue_ = darkBorders_->isChecked() ? 1 : 0;
    return true;
}

bool ConfigDialog::readControls() {
    if (!moveControlsToMembers())
        return false;
    workingPattern_.symmetry = symmetryValue_;
    workingPattern_.resetTime = resetTimeValue_;
    for (int i = 0; i < 8; ++i)
        sliderField(workingPattern_, SLIDERS[i]) = sliders_[i]->value();
    // A damaged pattern's shape that no entry shows is kept as it is.
    if (shapeList_->currentIndex() >= 0)
        workingPattern_.screenShape = shapeList_->currentIndex();
    workingPattern_.darkBorders = darkBordersValue_;
    return true;
}

void ConfigDialog::applyChanges() {
    if (resetTimeEdit_->text().isEmpty())
        resetTimeEdit_->setText(QStringLiteral("1"));
    readControls();
    preview_->attachScene(context_.mainScene, workingPattern_);
    preview_->reset();
    // With no mode button selected (a mode this program does not know) the
    // stored mode stays as it was.
    if (fullScreenModeValue_ >= FULLSCREEN_USE_CURRENT && fullScreenModeValue_ <= FULLSCREEN_CYCLE)
        context_.store->fullScreenMode = fullScreenModeValue_;
    focusSinkIfWanted();
}

void ConfigDialog::writeSymmetryText() {
    symmetryEdit_->setText(QStringLiteral("  ") + QString::number(symmetryValue_));
}

void ConfigDialog::setDefaultButton() {
    const bool keep = context_.options->enterKeepsDialog;
    // A focused OK would otherwise take Enter for itself.
    okButton_->setAutoDefault(!keep);
    okButton_->setDefault(!keep);
    defaultButtonSink_->setDefault(keep);
}

void ConfigDialog::pausePreview() {
    preview_->setRunning(false);
}

void ConfigDialog::resumePreview() {
    preview_->setRunning(true);
}

int ConfigDialog::runModal(QDialog& dialog) {
    pausePreview();
    const int result = context_.runner->exec(dialog);
    resumePreview();
    return result;
}

// ---- Quick help ------------------------------------------------------------

bool ConfigDialog::explain(int id) {
    if (!quickHelp_->isActive())
        return false;
    showQuickHelp(helpText(id));
    return true;
}

void ConfigDialog::showQuickHelp(const QString& text) {
    quickHelp_->leave();
    // A check box, radio button or edit box the help click changed shows its
    // value again.
    moveMembersToControls();
    pausePreview();
    quickHelp_->showText(text);
    writeSymmetryText();
    resumePreview();
    focusSinkIfWanted();
}

void ConfigDialog::pressQuickHelp() {
    if (quickHelp_->isActive()) {
        showQuickHelp(helpText(1117));
        return;
    }
    quickHelp_->enter();
}

bool ConfigDialog::eventFilter(QObject* watched, QEvent* event) {
    // The pieces are spread over the preview's size: a new size (the first one
    // included, which the layout gives only when the dialog shows) spreads them
    // again once the view has taken it.
    if (watched == preview_ && event->type() == QEvent::Resize) {
        QMetaObject::invokeMethod(
            this, [this] { preview_->reset(); }, Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == symmetryEdit_)
            explain(1000);
        else if (watched == resetTimeEdit_)
            explain(1126);
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Commands --------------------------------------------------------------

void ConfigDialog::scrollSlider() {
    if (quickHelp_->isActive()) {
        moveMembersToControls();
        return;
    }
    applyChanges();
}

void ConfigDialog::endSliderTracking(int id) {
    if (explain(id))
        return;
    applyChanges();
}

void ConfigDialog::chooseScreenShape() {
    // In quick-help mode the next apply takes the new shape.
    if (!quickHelp_->isActive())
        applyChanges();
}

void ConfigDialog::closeScreenShapeList() {
    if (explain(1112))
        return;
    applyChanges();
}

// Choosing a stored pattern drops the unsaved edits of the working pattern.
void ConfigDialog::choosePattern(int index) {
    if (quickHelp_->isActive() || index < 0)
        return;
    DataStore& store = *context_.store;
    store.currentIndex = index;
    pausePreview();
    if (const Pattern* chosen = store.patternAt(index))
        workingPattern_ = *chosen;
    showControls();
    resumePreview();
    applyChanges();
}

void ConfigDialog::closePatternList() {
    if (explain(1109))
        return;
    applyChanges();
}

void ConfigDialog::clickOption(int id) {
    if (explain(id))
        return;
    applyChanges();
}

void ConfigDialog::stepSymmetry(int id, int step) {
    if (explain(id))
        return;
    if ((step < 0 && symmetryValue_ > 3) || (step > 0 && symmetryValue_ < 20))
        symmetryValue_ += step;
    writeSymmetryText();
    applyChanges();
}

void ConfigDialog::editResetTime() {
    pausePreview();
    readControls();
    resumePreview();
}

void ConfigDialog::savePattern() {
    if (explain(1121))
        return;
    DataStore& store = *context_.store;
    if (store.currentIndex < 0)
        return;
    PatternNameDialog nameDialog(*context_.runner, this);
    nameDialog.setName(QString());
    if (runModal(nameDialog) == QDialog::Accepted) {
        readControls();
        // Stored names end in one space: "Spiral" is kept as "Spiral ".
        workingPattern_.setNameText(nameDialog.nameBytes() + ' ');
        store.addPattern(workingPattern_);
        patternList_->addItem(nameText(workingPattern_));
        patternList_->selectQuietly(patternList_->count() - 1);
    }
    applyChanges();
}

void ConfigDialog::deletePattern() {
    if (explain(1122))
        return;
    DataStore& store = *context_.store;
    if (store.count() <= 1) {
        pausePreview();
        showMessage(*context_.runner, this, QMessageBox::Warning, QStringLiteral("Error"),
                    QStringLiteral("You cannot delete the last pattern!"));
        resumePreview();
        return;
    }
    pausePreview();
    const int index = store.currentIndex;
    store.removeAt(index);
    {
        const QSignalBlocker blocker(patternList_);
        patternList_->removeItem(index);
        patternList_->setCurrentIndex(0);
    }
    store.currentIndex = 0;
    resumePreview();
    // The deleted pattern's settings stay in the controls.
    applyChanges();
}

void ConfigDialog::randomisePattern() {
    if (explain(1105))
        return;
    ColourTools::randomisePattern(workingPattern_);
    showControls();
    writeSymmetryText();
    preview_->attachScene(context_.mainScene, workingPattern_);
    preview_->reset();
    focusSinkIfWanted();
}

void ConfigDialog::editLayer(int index) {
    static constexpr int LAYER_BUTTONS[3] = {1094, 1096, 1098};
    if (explain(LAYER_BUTTONS[index]))
        return;
    LayerDialog editor(context_, workingPattern_, workingPattern_.layers[index], this);
    if (runModal(editor) == QDialog::Accepted)
        workingPattern_.layers[index] = editor.layer();
    applyChanges();
}

void ConfigDialog::editBackground() {
    if (explain(1007))
        return;
    BackgroundColourDialog chooser(context_, workingPattern_.backgroundColour,
                                   workingPattern_.backgroundMode, this);
    if (runModal(chooser) != QDialog::Accepted)
        return;
    workingPattern_.backgroundMode = chooser.mode();
    workingPattern_.backgroundColour = chooser.colour();
    applyChanges();
}

void ConfigDialog::editPreferences() {
    if (explain(1115))
        return;
    DialogOptions& options = *context_.options;
    PreferencesDialog preferences(Preferences{options.noTabMarks, options.enterKeepsDialog,
                                              options.warnOnQuit, options.politeMode,
                                              options.antiAlias, options.showPatternName},
                                  *context_.runner, this);
    if (runModal(preferences) == QDialog::Accepted) {
        const Preferences chosen = preferences.preferences();
        options.noTabMarks = chosen.noTabMarks;
        options.enterKeepsDialog = chosen.enterKeepsDialog;
        options.warnOnQuit = chosen.warnOnQuit;
        options.politeMode = chosen.politeMode;
        options.antiAlias = chosen.antiAlias;
        options.showPatternName = chosen.showPatternName;
    }
    copyWorkingOptionWords(options, *context_.store);
    setDefaultButton();
    applyChanges();
}

void ConfigDialog::editBanks() {
    if (explain(1144))
        return;
    DataStore& store = *context_.store;
    BankDialog banks(context_, store, this);
    if (runModal(banks) == QDialog::Accepted) {
        store.deleteAll();
        store.appendAll(banks.set());
        if (store.count() == 0)
            store.resetToDefaults();
        fillPatternList();
        store.currentIndex = 0;
        workingPattern_ = *store.patternAt(0);
        showControls();
    }
    applyChanges();
}

void ConfigDialog::openHelp() {
    pausePreview();
    context_.runner->openHelpFile();
    resumePreview();
}

void ConfigDialog::showAbout() {
    AboutDialog about(this);
    runModal(about);
}

void ConfigDialog::accept() {
    if (explain(1))
        return;
    context_.store->current = workingPattern_;
    if (!moveControlsToMembers())
        return;
    QDialog::accept();
}

void ConfigDialog::reject() {
    if (explain(2))
        return;
    if (context_.options->warnOnQuit) {
        pausePreview();
        const QMessageBox::StandardButton answer = showMessage(
            *context_.runner, this, QMessageBox::Warning, context_.applicationName,
            QStringLiteral("Exit without saving changes?"), QMessageBox::Yes | QMessageBox::No);
        resumePreview();
        if (answer != QMessageBox::Yes)
            return;
    }
    QDialog::reject();
}

// ---- Events ----------------------------------------------------------------

void ConfigDialog::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("&About Lumivane..."), this, &ConfigDialog::showAbout);
    menu.exec(event->globalPos());
}

} // namespace lumivane
