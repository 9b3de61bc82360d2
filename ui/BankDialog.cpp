#include "ui/BankDialog.h"

#include "engine/Scene.h"
#include "patterns/BankFile.h"
#include "patterns/StoreFile.h"
#include "ui/BankFileDialog.h"
#include "ui/DialogUnits.h"
#include "ui/DropDownList.h"
#include "ui/HelpTexts.h"
#include "ui/ModalRunner.h"
#include "ui/NameText.h"
#include "view/KaleidoView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>
#include <tuple>

namespace lumivane {
QString BankDialog::helpText(int id) {
    return helpTextIn(BANK_DIALOG_HELP, id);
}

BankDialog::BankDialog(const DialogContext& context, const DataStore& set, QWidget* parent)
    : DialogBase(context, BANK_DIALOG_HELP, parent), setScene_(std::make_unique<Scene>()),
      bankScene_(std::make_unique<Scene>()) {
    setWindowTitle(QString::fromLatin1(BANK_DIALOG_TITLE));
    setObjectName(QStringLiteral("bankDialog"));
    set_.clear();
    set_.appendAll(set);
    bank_.clear();

    setPreview_ = createPreview(1146, "Set preview");
    bankPreview_ = createPreview(1147, "Bank preview");
    animateSet_ = named(new QCheckBox(QStringLiteral("Animate"), this), 1148,
                        QStringLiteral("Animate set preview"));
    animateBank_ = named(new QCheckBox(QStringLiteral("Animate"), this), 1149,
                         QStringLiteral("Animate bank preview"));
    setList_ = createList(1133, "Current pattern set");
    bankList_ = createList(1134, "Patterns in the bank");

    auto* grid = new QGridLayout(this);
    QGroupBox* copy = createCopyGroup();
    QGroupBox* load = createLoadGroup();
    QGroupBox* bank = createBankGroup();
    grid->addWidget(setPreview_, 0, 0);
    grid->addWidget(bankPreview_, 0, 1);
    grid->addWidget(animateSet_, 1, 0);
    grid->addWidget(animateBank_, 1, 1);
    grid->addWidget(copy, 2, 0);
    grid->addWidget(load, 3, 0);
    grid->addWidget(bank, 2, 1, 2, 1);
    grid->addLayout(createDialogButtons(), 4, 0, 1, 2);
    grid->setRowStretch(0, 1);
    // The set and the bank side by side, in columns of one width.
    int columnWidth = setPreview_->minimumWidth();
    for (const QWidget* group : {copy, load, bank})
        columnWidth = std::max(columnWidth, group->sizeHint().width());
    for (const int column : {0, 1}) {
        grid->setColumnMinimumWidth(column, columnWidth);
        grid->setColumnStretch(column, 1);
    }
    setWindowIcon(QApplication::windowIcon());

    fillList(setList_, set_);
    setList_->selectQuietly(0);
    animateSet_->setChecked(true);
    animateBank_->setChecked(true);

    if (const Pattern* first = set_.patternAt(0)) {
        setPreviewPattern_ = *first;
    } else {
        setPreviewPattern_.makeEmpty();
    }
    bankPreviewPattern_ = Pattern{};
    bankPreviewPattern_.makeEmpty();
    for (auto [preview, scene, record] :
         {std::tuple{bankPreview_, bankScene_.get(), &bankPreviewPattern_},
          std::tuple{setPreview_, setScene_.get(), &setPreviewPattern_}}) {
        preview->attachScene(scene, *record);
        preview->setEditorPreview(true);
        preview->reset();
    }
    connectControls();
}

// The previews draw into the dialog's scenes: they go first.
BankDialog::~BankDialog() {
    delete setPreview_;
    delete bankPreview_;
}

QPushButton* BankDialog::createPushButton(int id, const char* caption,
                                          void (BankDialog::*action)()) {
    auto* button = named(new QPushButton(QString::fromLatin1(caption), this), id,
                         QString::fromLatin1(caption).trimmed());
    button->setMinimumSize(dialogUnits(this, 60, 15));
    if (action != nullptr)
        onCommand(button, id, action);
    return button;
}

KaleidoView* BankDialog::createPreview(int id, const char* name) {
    auto* view =
        named(new KaleidoView(context_.viewEnvironment(), this), id, QString::fromLatin1(name));
    view->setMinimumSize(dialogUnits(this, 150, 110));
    view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return view;
}

DropDownList* BankDialog::createList(int id, const char* name) {
    auto* list = named(new DropDownList(this), id, QString::fromLatin1(name));
    list->setMaxVisibleItems(PATTERN_LIST_ENTRIES);
    list->setMinimumWidth(dialogUnitsX(this, 121));
    return list;
}

QGroupBox* BankDialog::createCopyGroup() {
    auto* group = new QGroupBox(QStringLiteral("Copy Patterns To Bank"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(createPushButton(1135, "Copy Current", &BankDialog::copyCurrent));
    buttons->addWidget(createPushButton(1136, "Copy All ", &BankDialog::copyAll));
    auto* column = new QVBoxLayout(group);
    column->addWidget(setList_);
    column->addLayout(buttons);
    return group;
}

QGroupBox* BankDialog::createLoadGroup() {
    auto* group = new QGroupBox(QStringLiteral("Load Patterns From Bank"), this);
    auto* buttons = new QHBoxLayout(group);
    buttons->addWidget(createPushButton(1139, "Add Bank", &BankDialog::addBank));
    buttons->addWidget(createPushButton(1140, "Merge Bank", &BankDialog::mergeBank));
    buttons->addWidget(createPushButton(1141, "Replace By Bank", &BankDialog::replaceByBank));
    return group;
}

// The deleting buttons beside the copying ones, the file buttons beside the
// loading ones.
QGroupBox* BankDialog::createBankGroup() {
    auto* group = new QGroupBox(QStringLiteral("Bank"), this);
    auto* deleteButtons = new QHBoxLayout;
    deleteButtons->addWidget(createPushButton(1137, "Delete Current", &BankDialog::deleteCurrent));
    deleteButtons->addWidget(createPushButton(1145, "Delete All ", &BankDialog::deleteAll));
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(createPushButton(1142, "Load Bank", &BankDialog::loadBankFile));
    fileButtons->addWidget(createPushButton(1143, "Save Bank", &BankDialog::saveBankFile));
    auto* column = new QVBoxLayout(group);
    column->addWidget(bankList_);
    column->addLayout(deleteButtons);
    column->addStretch();
    column->addLayout(fileButtons);
    return group;
}

// OK and Cancel have no help texts: they end the dialog in quick-help mode too.
QLayout* BankDialog::createDialogButtons() {
    QPushButton* ok = createPushButton(1, "OK", nullptr);
    QPushButton* cancel = createPushButton(2, "Cancel", nullptr);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &BankDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &BankDialog::reject);
    QToolButton* quickHelp = createQuickHelpButton();
    quickHelp->setMinimumSize(dialogUnits(this, 20, 17));
    quickHelp->setIconSize(QSize(1, 1) * dialogUnitsY(this, 13));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    buttons->addWidget(quickHelp);
    return buttons;
}

// Choosing an entry acts in quick-help mode too; closing a list explains it.
void BankDialog::connectControls() {
    connect(setList_, &DropDownList::currentIndexChanged, this, &BankDialog::chooseSetPattern);
    connect(bankList_, &DropDownList::currentIndexChanged, this, &BankDialog::chooseBankPattern);
    onListClosed(setList_, 1133, nullptr);
    onListClosed(bankList_, 1134, nullptr);
    onSwitch(animateSet_, 1148, [this] { toggleAnimation(); });
    onSwitch(animateBank_, 1149, [this] { toggleAnimation(); });
    setPreview_->installEventFilter(this);
    bankPreview_->installEventFilter(this);
}

// ---- Previews and lists ----------------------------------------------------

void BankDialog::pausePreviews() {
    setPreview_->setRunning(false);
    bankPreview_->setRunning(false);
}

void BankDialog::resumePreviews() {
    if (animateSet_->isChecked())
        setPreview_->setRunning(true);
    if (animateBank_->isChecked())
        bankPreview_->setRunning(true);
}

void BankDialog::finishAction() {
    resumePreviews();
    focusSinkIfWanted();
}

void BankDialog::showInPreview(KaleidoView* preview, Scene* scene, Pattern& record,
                               const Pattern& shown) {
    record = shown;
    preview->attachScene(scene, record);
    preview->reset();
    preview->redraw();
}

void BankDialog::showSetPattern() {
    Pattern shown;
    if (const Pattern* selected = set_.patternAt(setList_->currentIndex()))
        shown = *selected;
    else
        shown.makeEmpty();
    showInPreview(setPreview_, setScene_.get(), setPreviewPattern_, shown);
}

// No selection (an empty bank) shows black.
void BankDialog::showBankPattern() {
    Pattern shown = bankPreviewPattern_;
    if (const Pattern* selected = bank_.patternAt(bankList_->currentIndex()))
        shown = *selected;
    else
        shown.makeEmpty();
    showInPreview(bankPreview_, bankScene_.get(), bankPreviewPattern_, shown);
}

void BankDialog::fillList(DropDownList* list, const DataStore& store) {
    const QSignalBlocker blocker(list);
    list->clear();
    appendNames(list, store);
}

void BankDialog::appendNames(DropDownList* list, const DataStore& store) {
    const QSignalBlocker blocker(list);
    for (int i = 0; i < store.count(); ++i)
        list->addItem(nameText(*store.patternAt(i)));
}

void BankDialog::emptyBank() {
    bankList_->selectQuietly(-1);
    {
        const QSignalBlocker blocker(bankList_);
        bankList_->clear();
    }
    bank_.deleteAll();
    showBankPattern();
}

bool BankDialog::eventFilter(QObject* watched, QEvent* event) {
    // The pieces are spread over the preview's size: a new size (the first one
    // included, which the layout gives only when the dialog shows) spreads them
    // again once the view has taken it, and a paused preview shows the result.
    if ((watched == setPreview_ || watched == bankPreview_) && event->type() == QEvent::Resize) {
        auto* preview = static_cast<KaleidoView*>(watched);
        QMetaObject::invokeMethod(
            this,
            [preview] {
                preview->reset();
                preview->redraw();
            },
            Qt::QueuedConnection);
    }
    return DialogBase::eventFilter(watched, event);
}

// ---- Commands --------------------------------------------------------------

void BankDialog::chooseSetPattern() {
    pausePreviews();
    showSetPattern();
    finishAction();
}

void BankDialog::chooseBankPattern() {
    pausePreviews();
    showBankPattern();
    finishAction();
}

void BankDialog::toggleAnimation() {
    pausePreviews();
    finishAction();
}

void BankDialog::copyCurrent() {
    pausePreviews();
    if (const Pattern* selected = set_.patternAt(setList_->currentIndex())) {
        bank_.addPattern(*selected);
        {
            const QSignalBlocker blocker(bankList_);
            bankList_->addItem(nameText(*selected));
        }
        bankList_->selectQuietly(bankList_->count() - 1);
    }
    showBankPattern();
    finishAction();
}

void BankDialog::copyAll() {
    pausePreviews();
    bank_.appendAll(set_);
    appendNames(bankList_, set_);
    bankList_->selectQuietly(0);
    showBankPattern();
    finishAction();
}

void BankDialog::deleteAll() {
    pausePreviews();
    emptyBank();
    finishAction();
}

void BankDialog::deleteCurrent() {
    pausePreviews();
    const int index = bankList_->currentIndex();
    if (index >= 0) {
        bank_.removeAt(index);
        {
            const QSignalBlocker blocker(bankList_);
            bankList_->removeItem(index);
        }
        bankList_->selectQuietly(bankList_->count() > 0 ? 0 : -1);
        showBankPattern();
    }
    finishAction();
}

void BankDialog::saveBankFile() {
    const QPointer<BankDialog> self(this);
    pausePreviews();
    const std::optional<QString> file =
        BankFileDialog::choose(this, context_, QFileDialog::AcceptSave);
    if (!self)
        return;
    if (!file) {
        resumePreviews();
        return;
    }
    // A failed save leaves a bank already at that name as it was.
    try {
        saveStoreFile(QFile::encodeName(*file).toStdString(), bank_);
    } catch (const StoreFileError& error) {
        showMessage(*context_.runner, this, QMessageBox::Information,
                    QString::fromLatin1(SAVE_BANK_TITLE),
                    QStringLiteral("The bank could not be saved: %1")
                        .arg(QString::fromLocal8Bit(error.what())));
        if (!self)
            return;
    }
    finishAction();
}

void BankDialog::loadBankFile() {
    const QPointer<BankDialog> self(this);
    pausePreviews();
    const std::optional<QString> file =
        BankFileDialog::choose(this, context_, QFileDialog::AcceptOpen);
    if (!self)
        return;
    if (!file) {
        resumePreviews();
        return;
    }
    emptyBank();
    const std::string problem = loadBank(QFile::encodeName(*file).toStdString(), bank_);
    if (!problem.empty()) {
        showMessage(*context_.runner, this, QMessageBox::Information,
                    QString::fromLatin1(INVALID_BANK_TITLE), QString::fromLatin1(problem));
        if (!self)
            return;
    }
    fillList(bankList_, bank_);
    bankList_->selectQuietly(bank_.count() > 0 ? 0 : -1);
    showBankPattern();
    finishAction();
}

void BankDialog::addBank() {
    pausePreviews();
    set_.appendAll(bank_);
    appendNames(setList_, bank_);
    setList_->selectQuietly(0);
    showSetPattern();
    finishAction();
}

// Patterns whose names the set already holds are left out.
void BankDialog::mergeBank() {
    pausePreviews();
    if (bank_.count() > 0) {
        const std::int32_t before = set_.count();
        set_.mergeAll(bank_);
        if (set_.count() == before) {
            resumePreviews();
            return;
        }
        fillList(setList_, set_);
        setList_->selectQuietly(0);
        showSetPattern();
    }
    finishAction();
}

// An empty bank never empties the set.
void BankDialog::replaceByBank() {
    pausePreviews();
    if (bank_.count() > 0) {
        set_.deleteAll();
        set_.appendAll(bank_);
        fillList(setList_, set_);
        setList_->selectQuietly(0);
        showSetPattern();
    }
    finishAction();
}

} // namespace lumivane
