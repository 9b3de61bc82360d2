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
#include "ui/QuickHelp.h"
#include "view/KaleidoView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <tuple>

namespace lumivane {
QString BankDialog::helpText(int id) {
    return helpTextIn(BANK_DIALOG_HELP, id);
}

BankDialog::BankDialog(const DialogContext& context, const DataStore& set, QWidget* parent)
    : DialogBase(context, parent), setScene_(std::make_unique<Scene>()),
      bankScene_(std::make_unique<Scene>()) {
    setWindowTitle(QString::fromLatin1(BANK_DIALOG_TITLE));
    setObjectName(QStringLiteral("bankDialog"));
    set_.clear();
    set_.appendAll(set);
    bank_.clear();

    buildControls();
    fillList(setList_, set_);
    setList_->setCurrentIndex(0);
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

bool BankDialog::quickHelpActive() const {
    return quickHelp_->isActive();
}

void BankDialog::buildControls() {
    const auto pushButton = [this](int id, const char* caption) {
        auto* button = named(new QPushButton(QString::fromLatin1(caption), this), id,
                             QString::fromLatin1(caption).trimmed());
        button->setMinimumSize(dialogUnits(this, 60, 15));
        return button;
    };
    const auto preview = [this](int id, const char* name) {
        auto* view =
            named(new KaleidoView(context_.viewEnvironment(), this), id, QString::fromLatin1(name));
        view->setMinimumSize(dialogUnits(this, 150, 110));
        view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        return view;
    };
    const auto list = [this](int id, const char* name) {
        auto* control = named(new DropDownList(this), id, QString::fromLatin1(name));
        control->setMaxVisibleItems(20);
        control->setMinimumWidth(dialogUnitsX(this, 121));
        return control;
    };

    setPreview_ = preview(1146, "Set preview");
    bankPreview_ = preview(1147, "Bank preview");
    animateSet_ = named(new QCheckBox(QStringLiteral("Animate"), this), 1148,
                        QStringLiteral("Animate set preview"));
    animateBank_ = named(new QCheckBox(QStringLiteral("Animate"), this), 1149,
                         QStringLiteral("Animate bank preview"));
    setList_ = list(1133, "Current pattern set");
    bankList_ = list(1134, "Patterns in the bank");

    // Copy Patterns To Bank.
    auto* copy = new QGroupBox(QStringLiteral("Copy Patterns To Bank"), this);
    auto* copyColumn = new QVBoxLayout(copy);
    auto* copyButtons = new QHBoxLayout;
    copyColumn->addWidget(setList_);
    copyColumn->addLayout(copyButtons);
    const struct Command {
        int id;
        const char* caption;
        void (BankDialog::*action)();
    } copyCommands[] = {{1135, "Copy Current", &BankDialog::copyCurrent},
                        {1136, "Copy All ", &BankDialog::copyAll}};
    for (const Command& command : copyCommands) {
        QPushButton* button = pushButton(command.id, command.caption);
        connect(button, &QPushButton::clicked, this, command.action);
        copyButtons->addWidget(button);
    }

    // Load Patterns From Bank.
    auto* load = new QGroupBox(QStringLiteral("Load Patterns From Bank"), this);
    auto* loadButtons = new QHBoxLayout(load);
    const Command loadCommands[] = {{1139, "Add Bank", &BankDialog::addBank},
                                    {1140, "Merge Bank", &BankDialog::mergeBank},
                                    {1141, "Replace By Bank", &BankDialog::replaceByBank}};
    for (const Command& command : loadCommands) {
        QPushButton* button = pushButton(command.id, command.caption);
        connect(button, &QPushButton::clicked, this, command.action);
        loadButtons->addWidget(button);
    }

    // Bank.
    auto* bank = new QGroupBox(QStringLiteral("Bank"), this);
    auto* bankColumn = new QVBoxLayout(bank);
    auto* deleteButtons = new QHBoxLayout;
    auto* fileButtons = new QHBoxLayout;
    // The deleting buttons beside the copying ones, the file buttons beside
    // the loading ones.
    bankColumn->addWidget(bankList_);
    bankColumn->addLayout(deleteButtons);
    bankColumn->addStretch();
    bankColumn->addLayout(fileButtons);
    const Command bankCommands[] = {{1137, "Delete Current", &BankDialog::deleteCurrent},
                                    {1145, "Delete All ", &BankDialog::deleteAll},
                                    {1142, "Load Bank", &BankDialog::loadBankFile},
                                    {1143, "Save Bank", &BankDialog::saveBankFile}};
    for (int i = 0; i < 4; ++i) {
        QPushButton* button = pushButton(bankCommands[i].id, bankCommands[i].caption);
        connect(button, &QPushButton::clicked, this, bankCommands[i].action);
        (i < 2 ? deleteButtons : fileButtons)->addWidget(button);
    }

    // The dialog's own buttons.
    QPushButton* ok = pushButton(1, "OK");
    QPushButton* cancel = pushButton(2, "Cancel");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &BankDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &BankDialog::reject);
    quickHelp_ = new QuickHelp(this, *context_.options, *context_.runner);
    quickHelp_->button()->setMinimumSize(dialogUnits(this, 20, 17));
    quickHelp_->button()->setIconSize(QSize(1, 1) * dialogUnitsY(this, 13));
    // Takes the focus when no control may show a focus mark.
    auto* dialogButtons = new QHBoxLayout;
    dialogButtons->addWidget(ok);
    dialogButtons->addWidget(cancel);
    dialogButtons->addStretch();
    dialogButtons->addWidget(quickHelp_->button());

    auto* grid = new QGridLayout(this);
    grid->addWidget(setPreview_, 0, 0);
    grid->addWidget(bankPreview_, 0, 1);
    grid->addWidget(animateSet_, 1, 0);
    grid->addWidget(animateBank_, 1, 1);
    grid->addWidget(copy, 2, 0);
    grid->addWidget(load, 3, 0);
    grid->addWidget(bank, 2, 1, 2, 1);
    grid->addLayout(dialogButtons, 4, 0, 1, 2);
    grid->setRowStretch(0, 1);
    // The set and the bank side by side, in columns of one width.
    int columnWidth = setPreview_->minimumWidth();
    for (const QWidget* group :
         {static_cast<QWidget*>(copy), static_cast<QWidget*>(load), static_cast<QWidget*>(bank)})
        columnWidth = std::max(columnWidth, group->sizeHint().width());
    for (const int column : {0, 1}) {
        grid->setColumnMinimumWidth(column, columnWidth);
        grid->setColumnStretch(column, 1);
    }
    setWindowIcon(QApplication::windowIcon());
}

void BankDialog::connectControls() {
    connect(setList_, &DropDownList::activated, this, &BankDialog::chooseSetPattern);
    connect(bankList_, &DropDownList::activated, this, &BankDialog::chooseBankPattern);
    connect(setList_, &DropDownList::listClosed, this, &BankDialog::closeSetList);
    connect(bankList_, &DropDownList::listClosed, this, &BankDialog::closeBankList);
    connect(animateSet_, &QCheckBox::clicked, this, [this] { toggleAnimation(1148, animateSet_); });
    connect(animateBank_, &QCheckBox::clicked, this,
            [this] { toggleAnimation(1149, animateBank_); });
    connect(quickHelp_, &QuickHelp::buttonPressed, this, &BankDialog::pressQuickHelp);
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
    {
        const QSignalBlocker blocker(bankList_);
        bankList_->setCurrentIndex(-1);
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
    return QDialog::eventFilter(watched, event);
}

// ---- Quick help ------------------------------------------------------------

bool BankDialog::explain(int id) {
    if (!quickHelp_->isActive())
        return false;
    showQuickHelp(helpText(id));
    return true;
}

void BankDialog::showQuickHelp(const QString& text) {
    quickHelp_->leave();
    pausePreviews();
    quickHelp_->showText(text);
    resumePreviews();
}

void BankDialog::pressQuickHelp() {
    if (quickHelp_->isActive()) {
        showQuickHelp(helpText(1117));
        return;
    }
    quickHelp_->enter();
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

void BankDialog::closeSetList() {
    explain(1133);
}

void BankDialog::closeBankList() {
    explain(1134);
}

void BankDialog::toggleAnimation(int id, QCheckBox* box) {
    if (quickHelp_->isActive()) {
        // Asking for help does not change the box.
        box->setChecked(!box->isChecked());
        showQuickHelp(helpText(id));
        return;
    }
    pausePreviews();
    finishAction();
}

void BankDialog::copyCurrent() {
    if (explain(1135))
        return;
    pausePreviews();
    if (const Pattern* selected = set_.patternAt(setList_->currentIndex())) {
        bank_.addPattern(*selected);
        const QSignalBlocker blocker(bankList_);
        bankList_->addItem(nameText(*selected));
        bankList_->setCurrentIndex(bankList_->count() - 1);
    }
    showBankPattern();
    finishAction();
}

void BankDialog::copyAll() {
    if (explain(1136))
        return;
    pausePreviews();
    bank_.appendAll(set_);
    appendNames(bankList_, set_);
    bankList_->selectQuietly(0);
    showBankPattern();
    finishAction();
}

void BankDialog::deleteAll() {
    if (explain(1145))
        return;
    pausePreviews();
    emptyBank();
    finishAction();
}

void BankDialog::deleteCurrent() {
    if (explain(1137))
        return;
    pausePreviews();
    const int index = bankList_->currentIndex();
    if (index >= 0) {
        bank_.removeAt(index);
        {
            const QSignalBlocker blocker(bankList_);
            bankList_->removeItem(index);
            bankList_->setCurrentIndex(bankList_->count() > 0 ? 0 : -1);
        }
        showBankPattern();
    }
    finishAction();
}

void BankDialog::saveBankFile() {
    if (explain(1143))
        return;
    pausePreviews();
    const std::optional<QString> file =
        BankFileDialog::choose(this, context_, QFileDialog::AcceptSave);
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
    }
    finishAction();
}

void BankDialog::loadBankFile() {
    if (explain(1142))
        return;
    pausePreviews();
    const std::optional<QString> file =
        BankFileDialog::choose(this, context_, QFileDialog::AcceptOpen);
    if (!file) {
        resumePreviews();
        return;
    }
    emptyBank();
    const std::string problem = loadBank(QFile::encodeName(*file).toStdString(), bank_);
    if (!problem.empty())
        showMessage(*context_.runner, this, QMessageBox::Information,
                    QString::fromLatin1(INVALID_BANK_TITLE), QString::fromLatin1(problem));
    fillList(bankList_, bank_);
    bankList_->selectQuietly(bank_.count() > 0 ? 0 : -1);
    showBankPattern();
    finishAction();
}

void BankDialog::addBank() {
    if (explain(1139))
        return;
    pausePreviews();
    set_.appendAll(bank_);
    appendNames(setList_, bank_);
    setList_->selectQuietly(0);
    showSetPattern();
    finishAction();
}

// Patterns whose names the set already holds are left out.
void BankDialog::mergeBank() {
    if (explain(1140))
        return;
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
    if (explain(1141))
        return;
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
