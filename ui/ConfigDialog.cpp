#include "ui/ConfigDialog.h"

#include "engine/ColourTools.h"
#include "engine/Scene.h"
#include "patterns/DataStore.h"
#include "ui/AboutDialog.h"
#include "ui/BackgroundColourDialog.h"
#include "ui/BankDialog.h"
#include "ui/DropDownList.h"
#include "ui/HelpTexts.h"
#include "ui/LayerDialog.h"
#include "ui/ModalRunner.h"
#include "ui/NameText.h"
#include "ui/PatternNameDialog.h"
#include "ui/PreferencesDialog.h"
#include "view/KaleidoView.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

#include <algorithm>
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

void setTextQuietly(QLineEdit* edit, const QString& text) {
    const QSignalBlocker blocker(edit);
    edit->setText(text);
}

} // namespace

QString ConfigDialog::helpText(int id) {
    return helpTextIn(MAIN_DIALOG_HELP, id);
}

ConfigDialog::ConfigDialog(const DialogContext& context, QWidget* parent)
    : DialogBase(context, MAIN_DIALOG_HELP, parent),
      controls_(this, context_, createQuickHelpButton()) {
    setWindowTitle(QString::fromLatin1(CONFIG_DIALOG_TITLE));
    setObjectName(QStringLiteral("configDialog"));
    setWindowIcon(QApplication::windowIcon());
    auto* about = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, &ConfigDialog::showAbout);

    setDefaultButton();
    if (context_.store->count() == 0)
        context_.store->resetToDefaults();
    fillPatternList();
    workingPattern_ = context_.store->current;
    showControls();

    controls_.preview->attachScene(context_.mainScene, workingPattern_);
    controls_.preview->setEditorPreview(true);
    controls_.preview->reset();
    connectControls();
}

ConfigDialog::~ConfigDialog() = default;

void ConfigDialog::connectControls() {
    const ConfigControls& c = controls_;
    const auto apply = [this] { applyChanges(); };
    connect(c.ok, &QPushButton::clicked, this, &ConfigDialog::accept);
    connect(c.cancel, &QPushButton::clicked, this, &ConfigDialog::reject);
    onCommand(c.symmetryDown, 1101, [this] { stepSymmetry(-1); });
    onCommand(c.symmetryUp, 1100, [this] { stepSymmetry(1); });
    onCommand(c.save, 1121, &ConfigDialog::savePattern);
    onCommand(c.remove, 1122, &ConfigDialog::deletePattern);
    onCommand(c.banks, 1144, &ConfigDialog::editBanks);
    onCommand(c.preferences, 1115, &ConfigDialog::editPreferences);
    onCommand(c.randomise, 1105, &ConfigDialog::randomisePattern);
    onCommand(c.help, 1132, &ConfigDialog::openHelp);
    onCommand(c.background, 1007, &ConfigDialog::editBackground);
    for (int layer = 0; layer < LAYERS_PER_PATTERN; ++layer)
        onCommand(c.layerButtons[layer], LAYER_BUTTON_IDS[layer],
                  [this, layer] { editLayer(layer); });
    for (int i = 0; i < SLIDER_COUNT; ++i)
        onSlider(c.sliders[i], SLIDERS[i].id, SliderRule::ApplyEveryMove, apply);
    connect(c.shapeList, &DropDownList::currentIndexChanged, this,
            &ConfigDialog::chooseScreenShape);
    onListClosed(c.shapeList, 1112, apply);
    connect(c.patternList, &DropDownList::currentIndexChanged, this, &ConfigDialog::choosePattern);
    onListClosed(c.patternList, 1109, apply);
    onChoice(c.fullScreenModes, FULL_SCREEN_MODE_IDS, apply);
    onSwitch(c.darkBorders, 1129, apply);
    connect(c.resetTimeEdit, &QLineEdit::textChanged, this, &ConfigDialog::editResetTime);
    connect(c.symmetryEdit, &QLineEdit::textChanged, this, &ConfigDialog::keepSymmetryText);
    explainOnFocus(c.symmetryEdit, 1000);
    explainOnFocus(c.resetTimeEdit, 1126);
    c.preview->installEventFilter(this);
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
    // A symmetry the engine would not draw (from a file) shows as the one it draws.
    writeSymmetryText(std::clamp(workingPattern_.symmetry, MIN_SYMMETRY, MAX_SYMMETRY));
    setTextQuietly(controls_.resetTimeEdit, QString::number(workingPattern_.resetTime));
    for (int i = 0; i < SLIDER_COUNT; ++i) {
        const QSignalBlocker blocker(controls_.sliders[i]);
        controls_.sliders[i]->setValue(SLIDERS[i].of(workingPattern_));
    }
    const int shape = workingPattern_.screenShape;
    controls_.shapeList->selectQuietly(shape >= 0 && shape < controls_.shapeList->count() ? shape
                                                                                          : -1);
    controls_.patternList->selectQuietly(context_.store->currentIndex);
    restoreControls();
}

// What a help click may have changed goes back to what the dialog holds: a
// radio button or the check box. The edit boxes explain themselves when they
// get the focus, which changes nothing, and what was typed into the reset time
// stays there.
void ConfigDialog::restoreControls() {
    showChoice(controls_.fullScreenModes, context_.store->fullScreenMode);
    const QSignalBlocker blocker(controls_.darkBorders);
    controls_.darkBorders->setChecked(workingPattern_.darkBorders != 0);
}

// The message shows once the change that read the box has taken its course,
// and once however many changes read it meanwhile (a slider's drag).
std::optional<int> ConfigDialog::readNumber(QLineEdit* edit, int lo, int hi) {
    const std::optional<std::int32_t> value = parseInteger(edit->text());
    if (value && *value >= lo && *value <= hi)
        return *value;
    if (refusalPending_)
        return std::nullopt;
    refusalPending_ = true;
    const QString text =
        value ? QStringLiteral("Please enter an integer between %1 and %2.").arg(lo).arg(hi)
              : QStringLiteral("Please enter an integer.");
    QMetaObject::invokeMethod(
        this,
        [this, edit, text] {
            if (!tell(QMessageBox::Warning, context_.applicationName, text))
                return;
            refusalPending_ = false;
            edit->setFocus();
        },
        Qt::QueuedConnection);
    return std::nullopt;
}

bool ConfigDialog::readControls() {
    const std::optional<int> symmetry =
        readNumber(controls_.symmetryEdit, MIN_SYMMETRY, MAX_SYMMETRY);
    if (!symmetry)
        return false;
    const std::optional<int> resetTime =
        readNumber(controls_.resetTimeEdit, MIN_RESET_TIME, MAX_RESET_TIME);
    if (!resetTime)
        return false;
    workingPattern_.symmetry = *symmetry;
    workingPattern_.resetTime = *resetTime;
    for (int i = 0; i < SLIDER_COUNT; ++i)
        SLIDERS[i].of(workingPattern_) = controls_.sliders[i]->value();
    // A damaged pattern's shape that no entry shows is kept as it is.
    if (controls_.shapeList->currentIndex() >= 0)
        workingPattern_.screenShape = controls_.shapeList->currentIndex();
    workingPattern_.darkBorders = controls_.darkBorders->isChecked() ? 1 : 0;
    noteRead();
    return true;
}

void ConfigDialog::applyChanges() {
    const QPointer<ConfigDialog> self(this);
    if (controls_.resetTimeEdit->text().isEmpty())
        setTextQuietly(controls_.resetTimeEdit, QStringLiteral("1"));
    readControls();
    if (!self)
        return;
    controls_.preview->attachScene(context_.mainScene, workingPattern_);
    controls_.preview->reset();
    // With no mode button selected (a mode this program does not know) the
    // stored mode stays as it was.
    const int mode = controls_.fullScreenModes->checkedId();
    if (mode >= FULLSCREEN_USE_CURRENT && mode <= FULLSCREEN_CYCLE)
        context_.store->fullScreenMode = mode;
    focusSinkIfWanted();
}

void ConfigDialog::writeSymmetryText(int symmetry) {
    symmetryText_ = QStringLiteral("  ") + QString::number(symmetry);
    setTextQuietly(controls_.symmetryEdit, symmetryText_);
}

// The box is read-only for every input, assistive tools' text included.
void ConfigDialog::keepSymmetryText() {
    if (controls_.symmetryEdit->text() != symmetryText_)
        setTextQuietly(controls_.symmetryEdit, symmetryText_);
}

// OK is the default button unless Enter is to keep the dialog open; a focused
// push button takes Enter for itself (see keyPressEvent).
void ConfigDialog::setDefaultButton() {
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    controls_.ok->setDefault(!context_.settings->enterKeepsDialog);
}

void ConfigDialog::pausePreviews() {
    controls_.preview->setRunning(false);
}

void ConfigDialog::resumePreviews() {
    controls_.preview->setRunning(true);
}

void ConfigDialog::afterHelpShown() {
    setTextQuietly(controls_.symmetryEdit, symmetryText_);
}

bool ConfigDialog::eventFilter(QObject* watched, QEvent* event) {
    // The pieces are spread over the preview's size: a new size (the first one
    // included, which the layout gives only when the dialog shows) spreads them
    // again once the view has taken it.
    if (watched == controls_.preview && event->type() == QEvent::Resize) {
        QMetaObject::invokeMethod(
            this, [this] { controls_.preview->reset(); }, Qt::QueuedConnection);
    }
    return DialogBase::eventFilter(watched, event);
}

// Enter presses the focused push button, OK excepted while "Enter key does
// not quit the dialog by default" is on; elsewhere it is OK's, unless that
// option is on.
void ConfigDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        DialogBase::keyPressEvent(event);
        return;
    }
    event->accept();
    const bool keep = context_.settings->enterKeepsDialog;
    QWidget* focused = focusWidget();
    if (qobject_cast<QPushButton*>(focused) || qobject_cast<QToolButton*>(focused)) {
        if (!(keep && focused == controls_.ok))
            static_cast<QAbstractButton*>(focused)->click();
        return;
    }
    if (!keep)
        controls_.ok->click();
}

// ---- Commands --------------------------------------------------------------

void ConfigDialog::chooseScreenShape() {
    // In quick-help mode the next apply takes the new shape.
    if (!quickHelpActive())
        applyChanges();
}

// Choosing a stored pattern drops the unsaved edits of the working pattern. In
// quick-help mode the list shows the new entry without loading it.
void ConfigDialog::choosePattern(int index) {
    if (quickHelpActive() || index < 0)
        return;
    DataStore& store = *context_.store;
    store.currentIndex = index;
    pausePreviews();
    if (const Pattern* chosen = store.patternAt(index))
        workingPattern_ = *chosen;
    showControls();
    resumePreviews();
    applyChanges();
}

void ConfigDialog::stepSymmetry(int step) {
    const int symmetry = std::clamp(parseInteger(symmetryText_).value_or(workingPattern_.symmetry),
                                    MIN_SYMMETRY, MAX_SYMMETRY);
    writeSymmetryText(std::clamp(symmetry + step, MIN_SYMMETRY, MAX_SYMMETRY));
    applyChanges();
}

// Typing, pasting or an assistive tool's text: the pattern takes it at once.
void ConfigDialog::editResetTime() {
    const QPointer<ConfigDialog> self(this);
    pausePreviews();
    readControls();
    if (self)
        resumePreviews();
}

void ConfigDialog::savePattern() {
    DataStore& store = *context_.store;
    if (store.currentIndex < 0)
        return;
    const ScopedModal<PatternNameDialog> nameDialog(*context_.runner, this);
    nameDialog->setName(QString());
    const std::optional<int> result = runModal(*nameDialog);
    if (!result)
        return;
    if (*result == QDialog::Accepted) {
        const QPointer<ConfigDialog> self(this);
        readControls();
        if (!self)
            return;
        // Stored names end in one space: "Spiral" is kept as "Spiral ".
        workingPattern_.setNameText(nameDialog->nameBytes() + ' ');
        store.addPattern(workingPattern_);
        controls_.patternList->addItem(nameText(workingPattern_));
        controls_.patternList->selectQuietly(controls_.patternList->count() - 1);
    }
    applyChanges();
}

// The entry the list shows goes: in quick-help mode the list may show another
// than the current pattern, and the user deletes what is shown.
void ConfigDialog::deletePattern() {
    DataStore& store = *context_.store;
    if (store.count() <= 1) {
        tell(QMessageBox::Warning, QStringLiteral("Error"),
             QStringLiteral("You cannot delete the last pattern!"));
        return;
    }
    pausePreviews();
    const int shown = controls_.patternList->currentIndex();
    const int index = shown >= 0 ? shown : store.currentIndex;
    store.removeAt(index);
    {
        const QSignalBlocker blocker(controls_.patternList);
        controls_.patternList->removeItem(index);
    }
    controls_.patternList->selectQuietly(0);
    store.currentIndex = 0;
    resumePreviews();
    // The deleted pattern's settings stay in the controls.
    applyChanges();
}

void ConfigDialog::randomisePattern() {
    ColourTools::randomisePattern(workingPattern_);
    showControls();
    controls_.preview->attachScene(context_.mainScene, workingPattern_);
    controls_.preview->reset();
    focusSinkIfWanted();
}

void ConfigDialog::editLayer(int index) {
    const ScopedModal<LayerDialog> editor(context_, workingPattern_, workingPattern_.layers[index],
                                          this);
    const std::optional<int> result = runModal(*editor);
    if (!result)
        return;
    if (*result == QDialog::Accepted)
        workingPattern_.layers[index] = editor->layer();
    applyChanges();
}

void ConfigDialog::editBackground() {
    const ScopedModal<BackgroundColourDialog> chooser(context_, workingPattern_.backgroundColour,
                                                      workingPattern_.backgroundMode, this);
    const std::optional<int> result = runModal(*chooser);
    if (!result || *result != QDialog::Accepted)
        return;
    workingPattern_.backgroundMode = chooser->mode();
    workingPattern_.backgroundColour = chooser->colour();
    applyChanges();
}

void ConfigDialog::editPreferences() {
    DialogSettings& settings = *context_.settings;
    DisplaySettings& display = *context_.display;
    const ScopedModal<PreferencesDialog> preferences(Preferences::of(settings, display),
                                                     *context_.runner, this);
    const std::optional<int> result = runModal(*preferences);
    if (!result)
        return;
    if (*result == QDialog::Accepted)
        preferences->preferences().applyTo(settings, display);
    copyWorkingOptionWords(settings, *context_.store);
    setDefaultButton();
    applyChanges();
}

void ConfigDialog::editBanks() {
    DataStore& store = *context_.store;
    const ScopedModal<BankDialog> banks(context_, store, this);
    const std::optional<int> result = runModal(*banks);
    if (!result)
        return;
    if (*result == QDialog::Accepted) {
        store.deleteAll();
        store.appendAll(banks->set());
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
    pausePreviews();
    context_.runner->openHelpFile();
    resumePreviews();
}

void ConfigDialog::showAbout() {
    const ScopedModal<AboutDialog> about(this);
    runModal(*about);
}

// OK acts on what the controls show: a slider moved in quick-help mode is
// taken too. An invalid reset time keeps the dialog open.
void ConfigDialog::accept() {
    if (explain(1) || !readControls())
        return;
    const int mode = controls_.fullScreenModes->checkedId();
    if (mode >= FULLSCREEN_USE_CURRENT && mode <= FULLSCREEN_CYCLE)
        context_.store->fullScreenMode = mode;
    context_.store->current = workingPattern_;
    QDialog::accept();
}

void ConfigDialog::reject() {
    if (explain(2))
        return;
    if (context_.settings->warnOnQuit) {
        const std::optional<QMessageBox::StandardButton> answer = tell(
            QMessageBox::Warning, context_.applicationName,
            QStringLiteral("Exit without saving changes?"), QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    QDialog::reject();
}

// ---- Events ----------------------------------------------------------------

void ConfigDialog::contextMenuEvent(QContextMenuEvent* event) {
    const ScopedModal<QMenu> menu(this);
    menu->addAction(QStringLiteral("&About Lumivane..."), this, &ConfigDialog::showAbout);
    menu->exec(event->globalPos());
}

} // namespace lumivane
