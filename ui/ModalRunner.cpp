#include "ui/ModalRunner.h"

#include "ui/HelpFile.h"

#include <QDialog>

namespace lumivane {

int DesktopModalRunner::exec(QDialog& dialog) {
    return dialog.exec();
}

void DesktopModalRunner::openHelpFile() {
    lumivane::openHelpFile();
}

QMessageBox::StandardButton showMessage(ModalRunner& runner, QWidget* parent,
                                        QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    return static_cast<QMessageBox::StandardButton>(runner.exec(box));
}

} // namespace lumivane
