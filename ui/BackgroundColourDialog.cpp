#include "ui/BackgroundColourDialog.h"

#include "patterns/DataStore.h"
#include "ui/CustomColours.h"
#include "ui/DialogUnits.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

#include <cstddef>
#include <iterator>

namespace lumivane {
namespace {

// Template ids of the mode buttons, in mode order.
constexpr int MODE_BUTTON_IDS[] = {100, 101, 102};
static_assert(std::size(MODE_BUTTON_IDS) == std::size_t(BACKGROUND_MODE_NAMES.count()));

} // namespace

BackgroundColourDialog::BackgroundColourDialog(const DialogContext& context, ColourRef colour,
                                               std::int32_t mode, QWidget* parent)
    : QDialog(parent), context_(context), colour_(colour), mode_(mode) {
    setWindowTitle(QString::fromLatin1(BACKGROUND_DIALOG_TITLE));
    setObjectName(QStringLiteral("backgroundColourDialog"));

    // The chooser's custom colour wells show Qt's table, so it is filled from
    // the store before they are made.
    handCustomColoursToQt(*context_.store);
    chooser_ = new QColorDialog(toQColor(colour), this);
    chooser_->setObjectName(QStringLiteral("colourChooser"));
    chooser_->setAccessibleName(QStringLiteral("Background colour"));
    chooser_->setWindowFlags(Qt::Widget);
    chooser_->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    // Enter and Escape inside it are this dialog's, not the embedded one's.
    chooser_->installEventFilter(this);
    // The chooser's own OK and Cancel stay hidden; as a window of their own
    // (never shown) they are out of the controls that assistive tools list.
    if (auto* ownButtons = chooser_->findChild<QDialogButtonBox*>())
        ownButtons->setWindowFlags(Qt::Window);

    modes_ = new QButtonGroup(this);
    auto* modeRow = new QHBoxLayout;
    modeRow->addStretch();
    for (int value = 0; value < BACKGROUND_MODE_NAMES.count(); ++value) {
        const QString caption = QString::fromLatin1(BACKGROUND_MODE_NAMES.name(value));
        auto* radio = new QRadioButton(caption, this);
        radio->setObjectName(QStringLiteral("id%1").arg(MODE_BUTTON_IDS[value]));
        radio->setAccessibleName(caption);
        radio->setMinimumWidth(dialogUnitsX(this, 50));
        radio->setChecked(value == mode);
        modes_->addButton(radio, value);
        modeRow->addWidget(radio);
        modeRow->addStretch();
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    ok->setObjectName(QStringLiteral("id1"));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setDefault(true);
    cancel->setObjectName(QStringLiteral("id2"));
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &BackgroundColourDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BackgroundColourDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chooser_);
    layout->addSpacing(dialogUnitsY(this, 2));
    layout->addLayout(modeRow);
    layout->addSpacing(dialogUnitsY(this, 4));
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void BackgroundColourDialog::accept() {
    colour_ = toColourRef(chooser_->currentColor());
    // With no button selected the mode stays as it came.
    if (modes_->checkedId() >= 0)
        mode_ = modes_->checkedId();
    QDialog::accept();
}

void BackgroundColourDialog::done(int result) {
    takeCustomColoursFromQt(*context_.store);
    QDialog::done(result);
}

bool BackgroundColourDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chooser_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Cancel)) {
            reject();
            return true;
        }
        if (key->modifiers() == Qt::NoModifier &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace lumivane
