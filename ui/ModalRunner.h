// The one way the dialogs run anything modal: message boxes, the dialogs they
// open (name, preferences, layer editor, colour and file choosers) and the help
// file. The program uses the real runner; tests put a scripted one in its place
// so that no test ever waits on a modal window.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <utility>

class QDialog;
class QWidget;

namespace lumivane {

class ModalRunner {
  public:
    virtual ~ModalRunner() = default;

    // Runs the dialog modally and returns its result: QDialog::Accepted or
    // Rejected, or the standard button a message box ended with. The dialog
    // may be gone afterwards (its parent destroyed meanwhile).
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

// A modal dialog made for one run, owned by its parent widget as well: it is
// deleted when this goes out of scope, unless the parent was destroyed while
// it ran and took it along.
template <typename Dialog> class ScopedModal {
  public:
    template <typename... Args>
    explicit ScopedModal(Args&&... args) : dialog_(new Dialog(std::forward<Args>(args)...)) {}
    ~ScopedModal() { delete dialog_.data(); }
    ScopedModal(const ScopedModal&) = delete;
    ScopedModal& operator=(const ScopedModal&) = delete;

    Dialog& operator*() const { return *dialog_; }
    Dialog* operator->() const { return dialog_.data(); }
    // False when the dialog is gone.
    explicit operator bool() const { return !dialog_.isNull(); }

  private:
    QPointer<Dialog> dialog_;
};

// A message box owned by parent, run through the runner; returns the button
// that ended it. The box keeps the text's own line breaks wherever the screen
// is wide enough. The parent may be gone afterwards: callers check.
QMessageBox::StandardButton showMessage(ModalRunner& runner, QWidget* parent,
                                        QMessageBox::Icon icon, const QString& title,
                                        const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

} // namespace lumivane
