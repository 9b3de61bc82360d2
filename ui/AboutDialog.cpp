#include "ui/AboutDialog.h"

#include "ui/DialogUnits.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace lumivane {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About this program..."));

    auto* icon = new QLabel(this);
    QIcon appIcon = QApplication::windowIcon();
    if (appIcon.isNull())
        appIcon = style()->standardIcon(QStyle::SP_DesktopIcon);
    const int side = dialogUnitsY(this, 20);
    icon->setPixmap(appIcon.pixmap(side, side));
    icon->setAlignment(Qt::AlignTop);

    auto* text = new QVBoxLayout;
    const auto addLine = [this, text](const QString& line) {
        auto* label = new QLabel(line, this);
        text->addWidget(label);
        return label;
    };
    QLabel* title = addLine(QString::fromLatin1(PROGRAM_TITLE));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    addLine(QStringLiteral("Version ") + QString::fromLatin1(PROGRAM_VERSION));
    addLine(QStringLiteral("Free software for the Linux desktop."));
    text->addSpacing(dialogUnitsY(this, 12));
    addLine(QStringLiteral("Don't forget to check for an upgraded "));
    addLine(QStringLiteral("           version once in a while!"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("id1"));
    ok->setAccessibleName(ok->text());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &AboutDialog::accept);
    auto* okColumn = new QVBoxLayout;
    okColumn->addWidget(ok);
    okColumn->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addSpacing(dialogUnitsX(this, 10));
    layout->addLayout(text);
    layout->addSpacing(dialogUnitsX(this, 10));
    layout->addLayout(okColumn);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace lumivane
