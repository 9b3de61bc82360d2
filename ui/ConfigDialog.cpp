#include "ui/ConfigDialog.h"

#include "engine/ColourTools.h"
#include "patterns/DataStore.h"
#include "ui/AboutDialog.h"
#include "ui/BackgroundColourDialog.h"
#include "ui/BankDialog.h"
#include "ui/ConfigControls.h"
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
#include <QButtonGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>

#include <charconv>

namespace lumivane {
namespace {

constexpr int MIN_RESET_TIME = 1;
constexpr int MAX_RESET_TIME = 1000000;

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
    : DialogBase(context, parent), controls_(this, context_) {
    setWindowTitle(QString::fromLatin1(CONFIG_DIALOG_TITLE));
    setObjectName(QStringLiteral("configDialog"));
    setWindowIcon(QApplication::windowIcon());
    auto* about = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, &ConfigDialog::showAbout);

    fullScreenModeValue_ = context_.store->fullScreenMode;
    setDefaultButton();
    if (context_.store->count() == 0)
        context_.store->resetToDefaults();
    fillPatternList();
    workingPattern_ = context_.store->current;
    showControls();

    controls_.preview->attachScene(context_.mainScene, workingPattern_);
    controls_.preview->setEditorPreview(true);
    controls_.preview->reset();
    writeSymmetryText();
    connectControls();
}

ConfigDialog::~ConfigDialog() = default;

bool ConfigDialog::quickHelpActive() const {
    return controls_.quickHelp->isActive();
}

void ConfigDialog::connectControls() {
    const ConfigControls& c = controls_;
    connect(c.ok, &QPushButton::clicked, this, &ConfigDialog::accept);
    connect(c.cancel, &QPushButton::clicked, this, &ConfigDialog::reject);
    connect(c.symmetryDown, &QPushButton::clicked, this, [this] { stepSymmetry(1101, -1); });
    connect(c.symmetryUp, &QPushButton::clicked, this, [this] { stepSymmetry(1100, 1); });
    connect(c.save, &QPushButton::clicked, this, &ConfigDialog::savePattern);
    connect(c.remove, &QPushButton::clicked, this, &ConfigDialog::deletePattern);
    connect(c.banks, &QPushButton::clicked, this, &ConfigDialog::editBanks);
    connect(c.preferences, &QPushButton::clicked, this, &ConfigDialog::editPreferences);
    connect(c.randomise, &QPushButton::clicked, this, &ConfigDialog::randomisePattern);
    connect(c.help, &QPushButton::clicked, this, &ConfigDialog::openHelp);
    for (int layer = 0; layer < LAYERS_PER_PATTERN; ++layer)
        connect(c.layerButtons[layer], &QPushButton::clicked, this,
                [this, layer] { editLayer(layer); });
    connect(c.background, &QPushButton::clicked, this, &ConfigDialog::editBackground);
    for (QSlider* slider : controls_.sliders) {
        const int id = slider->objectName().mid(2).toInt();
        connect(slider, &QSlider::valueChanged, this, &ConfigDialog::scrollSlider);
        onEndOfTracking(slider, [this, id] { endSliderTracking(id); });
    }
    connect(controls_.shapeList, &DropDownList::activated, this, &ConfigDialog::chooseScreenShape);
    connect(controls_.shapeList, &DropDownList::listClosed, this,
            &ConfigDialog::closeScreenShapeList);
    connect(controls_.patternList, &DropDownList::activated, this, &ConfigDialog::choosePattern);
    connect(controls_.patternList, &DropDownList::listClosed, this,
            &ConfigDialog::closePatternList);
    for (QAbstractButton* radio : controls_.fullScreenModes->buttons()) {
        const int id = radio->objectName().mid(2).toInt();
        connect(radio, &QAbstractButton::clicked, this, [this, id] { clickOption(id); });
    }
    connect(controls_.darkBorders, &QCheckBox::clicked, this, [this] { clickOption(1129); });
    connect(controls_.resetTimeEdit, &QLineEdit::textEdited, this, &ConfigDialog::editResetTime);
    controls_.preview->installEventFilter(this);
    controls_.symmetryEdit->installEventFilter(this);
    controls_.resetTimeEdit->installEventFilter(this);
    connect(controls_.quickHelp, &QuickHelp::buttonPressed, this, &ConfigDialog::pressQuickHelp);
}

// ---- Data exchange ---------------------------------------------------------

void ConfigDialog::fillPatternList() {
    const QSignalBlocker blocker(controls_.patternList);
    controls_.patternList->clear();
    const DataStore& store = *context_.store;
    for (int i = 0; i < store.count(); ++i)
        controls_.patternList->addItem(nameText(*store.patternAt(i)));
}

void ConfigDialog::showControls() {
    symmetryValue_ = workingPattern_.symmetry;
    resetTimeValue_ = workingPattern_.resetTime;
    for (int i = 0; i < 8; ++i) {
        const QSignalBlocker blocker(controls_.sliders[i]);
        controls_.sliders[i]->setValue(SLIDERS[i].of(workingPattern_));
    }
    const int shape = workingPattern_.screenShape;
    controls_.shapeList->selectQuietly(shape >= 0 && shape < controls_.shapeList->count() ? shape
                                                                                          : -1);
    controls_.patternList->selectQuietly(context_.store->currentIndex);
    darkBordersValue_ = workingPattern_.darkBorders;
    moveMembersToControls();
}

void ConfigDialog::moveMembersToControls() {
    writeSymmetryText();
    showChoice(controls_.fullScreenModes, fullScreenModeValue_);
    controls_.resetTimeEdit->setText(QString::number(resetTimeValue_));
    controls_.darkBorders->setChecked(darkBordersValue_ != 0);
}

bool ConfigDialog::moveControlsToMembers() {
    if (const std::optional<std::int32_t> symmetry = parseInteger(controls_.symmetryEdit->text()))
        symmetryValue_ = *symmetry;
    fullScreenModeValue_ = controls_.fullScreenModes->checkedId();
    const std::optional<std::int32_t> resetTime = parseInteger(controls_.resetTimeEdit->text());
    if (!resetTime || *resetTime < MIN_RESET_TIME || *resetTime > MAX_RESET_TIME) {
        const QString text = resetTime
                                 ? QStringLiteral("Please enter an integer between %1 and %2.")
                                       .arg(MIN_RESET_TIME)
                                       .arg(MAX_RESET_TIME)
                                 : QStringLiteral("Please enter an integer.");
        tell(QMessageBox::Warning, context_.applicationName, text);
        controls_.resetTimeEdit->setFocus();
        return false;
    }
    resetTimeValue_ = *resetTime;
    darkBordersValue_ = controls_.darkBorders->isChecked() ? 1 : 0;
    return true;
}

bool ConfigDialog::readControls() {
    if (!moveControlsToMembers())
        return false;
    workingPattern_.symmetry = symmetryValue_;
    workingPattern_.resetTime = resetTimeValue_;
    for (int i = 0; i < 8; ++i)
        SLIDERS[i].of(workingPattern_) = controls_.sliders[i]->value();
    // A damaged pattern's shape that no entry shows is kept as it is.
    if (controls_.shapeList->currentIndex() >= 0)
        workingPattern_.screenShape = controls_.shapeList->currentIndex();
    workingPattern_.darkBorders = darkBordersValue_;
    return true;
}

void ConfigDialog::applyChanges() {
    if (controls_.resetTimeEdit->text().isEmpty())
        controls_.resetTimeEdit->setText(QStringLiteral("1"));
    readControls();
    controls_.preview->attachScene(context_.mainScene, workingPattern_);
    controls_.preview->reset();
    // With no mode button selected (a mode this program does not know) the
    // stored mode stays as it was.
    if (fullScreenModeValue_ >= FULLSCREEN_USE_CURRENT && fullScreenModeValue_ <= FULLSCREEN_CYCLE)
        context_.store->fullScreenMode = fullScreenModeValue_;
    focusSinkIfWanted();
}

void ConfigDialog::writeSymmetryText() {
    controls_.symmetryEdit->setText(QStringLiteral("  ") + QString::number(symmetryValue_));
}

void ConfigDialog::setDefaultButton() {
    const bool keep = context_.options->enterKeepsDialog;
    // A focused OK would otherwise take Enter for itself.
    controls_.ok->setAutoDefault(!keep);
    controls_.ok->setDefault(!keep);
    controls_.defaultButtonSink->setDefault(keep);
}

void ConfigDialog::pausePreview() {
    controls_.preview->setRunning(false);
}

void ConfigDialog::resumePreview() {
    controls_.preview->setRunning(true);
}

QMessageBox::StandardButton ConfigDialog::tell(QMessageBox::Icon icon, const QString& title,
                                               const QString& text,
                                               QMessageBox::StandardButtons buttons) {
    pausePreview();
    const QMessageBox::StandardButton answer =
        showMessage(*context_.runner, this, icon, title, text, buttons);
    resumePreview();
    return answer;
}

int ConfigDialog::runModal(QDialog& dialog) {
    pausePreview();
    const int result = context_.runner->exec(dialog);
    resumePreview();
    return result;
}

// ---- Quick help ------------------------------------------------------------

bool ConfigDialog::explain(int id) {
    if (!controls_.quickHelp->isActive())
        return false;
    showQuickHelp(helpText(id));
    return true;
}

void ConfigDialog::showQuickHelp(const QString& text) {
    controls_.quickHelp->leave();
    // A check box, radio button or edit box the help click changed shows its
    // value again.
    moveMembersToControls();
    pausePreview();
    controls_.quickHelp->showText(text);
    writeSymmetryText();
    resumePreview();
    focusSinkIfWanted();
}

void ConfigDialog::pressQuickHelp() {
    if (controls_.quickHelp->isActive()) {
        showQuickHelp(helpText(1117));
        return;
    }
    controls_.quickHelp->enter();
}

bool ConfigDialog::eventFilter(QObject* watched, QEvent* event) {
    // The pieces are spread over the preview's size: a new size (the first one
    // included, which the layout gives only when the dialog shows) spreads them
    // again once the view has taken it.
    if (watched == controls_.preview && event->type() == QEvent::Resize) {
        QMetaObject::invokeMethod(
            this, [this] { controls_.preview->reset(); }, Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == controls_.symmetryEdit)
            explain(1000);
        else if (watched == controls_.resetTimeEdit)
            explain(1126);
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Commands --------------------------------------------------------------

void ConfigDialog::scrollSlider() {
    if (controls_.quickHelp->isActive()) {
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
    if (!controls_.quickHelp->isActive())
        applyChanges();
}

void ConfigDialog::closeScreenShapeList() {
    if (explain(1112))
        return;
    applyChanges();
}

// Choosing a stored pattern drops the unsaved edits of the working pattern.
void ConfigDialog::choosePattern(int index) {
    if (controls_.quickHelp->isActive() || index < 0)
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
        controls_.patternList->addItem(nameText(workingPattern_));
        controls_.patternList->selectQuietly(controls_.patternList->count() - 1);
    }
    applyChanges();
}

void ConfigDialog::deletePattern() {
    if (explain(1122))
        return;
    DataStore& store = *context_.store;
    if (store.count() <= 1) {
        tell(QMessageBox::Warning, QStringLiteral("Error"),
             QStringLiteral("You cannot delete the last pattern!"));
        return;
    }
    pausePreview();
    const int index = store.currentIndex;
    store.removeAt(index);
    {
        const QSignalBlocker blocker(controls_.patternList);
        controls_.patternList->removeItem(index);
        controls_.patternList->setCurrentIndex(0);
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
    controls_.preview->attachScene(context_.mainScene, workingPattern_);
    controls_.preview->reset();
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
    PreferencesDialog preferences(Preferences::of(options), *context_.runner, this);
    if (runModal(preferences) == QDialog::Accepted)
        preferences.preferences().applyTo(options);
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
        if (tell(QMessageBox::Warning, context_.applicationName,
                 QStringLiteral("Exit without saving changes?"),
                 QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
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
