#include "ui/ModalRunner.h"

#include "ui/HelpFile.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QScreen>

#include <algorithm>

namespace lumivane {
namespace {

// Qt wraps a message wider than half the screen at that width, each time it
// sizes the box; the texts here break their own lines, so they are shown as
// written while the screen has room for them.
class OwnLinesMessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    bool event(QEvent* event) override {
        const bool handled = QMessageBox::event(event);
        if (event->type() == QEvent::LayoutRequest)
            keepOwnLines();
        return handled;
    }
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        keepOwnLines();
    }

  private:
    void keepOwnLines() {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (label == nullptr || !label->wordWrap() || layout() == nullptr)
            return;
        label->setWordWrap(false);
        layout()->activate();
        const QSize wanted = layout()->totalMinimumSize();
        const QScreen* shownOn = screen();
        if (shownOn != nullptr && wanted.width() > shownOn->availableGeometry().width())
            label->setWordWrap(true);
        else
            setFixedSize(std::max(width(), wanted.width()), wanted.height());
        // The change asks for another sizing, which would wrap the text again.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }
};

} // namespace

int DesktopModalRunner::exec(QDialog& dialog) {
    return dialog.exec();
}

void DesktopModalRunner::openHelpFile() {
    lumivane::openHelpFile();
}

QMessageBox::StandardButton showMessage(ModalRunner& runner, QWidget* parent,
                                        QMessageBox::Icon icon, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons) {
    const ScopedModal<OwnLinesMessageBox> box(icon, title, text, buttons, parent);
    box->setObjectName(QStringLiteral("messageBox"));
    return static_cast<QMessageBox::StandardButton>(runner.exec(*box));
}

} // namespace lumivane
