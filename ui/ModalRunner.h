// The one way the dialogs run anything modal: message boxes, the dialogs they
// open (name, preferences, layer editor, colour and file choosers) and the help
// file. The program uses the real runner; tests put a scripted one in its place
// so that no test ever waits on a modal window.
#pragma once

#include <QMessageBox>
#include <QString>

class QDialog;
class QWidget;

namespace lumivane {

class ModalRunner {
  public:
    virtual ~ModalRunner() = default;

    // Runs the dialog modally and returns its result: QDialog::Accepted or
    // Rejected, or the standard button a message box ended with.
    virtual int exec(QDialog& dialog) = 0;
    // Opens the help file with the desktop's handler; nothing when it cannot.
    virtual void openHelpFile() = 0;
};

// The runner of the real program: QDialog::exec and the desktop's handler.
class DesktopModalRunner : public ModalRunner {
  public:
    int exec(QDialog& dialog) override;
    void openHelpFile() override;
};

// A message box owned by parent, run through the runner; returns the button
// that ended it.
QMessageBox::StandardButton showMessage(ModalRunner& runner, QWidget* parent,
                                        QMessageBox::Icon icon, const QString& title,
                                        const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

} // namespace lumivane
