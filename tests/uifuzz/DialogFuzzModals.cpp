// The fuzzer's answers to the modals the dialogs open: message boxes, the name
// dialog, file and colour choosers at once; the layer editor, the banks
// dialog, the preferences and the background colour dialog each get a session
// of random actions of their own before they are ended.
#include "DialogFuzz.h"

#include "ui/AboutDialog.h"
#include "ui/ConfigDialog.h"
#include "ui/PatternNameDialog.h"
#include "ui/PreferencesDialog.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

namespace lumivane::test {

// ---- Modals ----------------------------------------------------------------

int DialogFuzzer::exec(QDialog& dialog) {
    note("a modal opens: \"" + dialog.windowTitle().toStdString() + "\"");
    if (main_ && chance(2)) {
        note("destroys the configuration dialog while it is up");
        main_.reset();
        return QDialog::Rejected;
    }
    ++depth_;
    int result = QDialog::Rejected;
    if (qobject_cast<QMessageBox*>(&dialog))
        result = answerMessage(dialog);
    else if (qobject_cast<PatternNameDialog*>(&dialog))
        result = answerName(dialog);
    else if (qobject_cast<QFileDialog*>(&dialog))
        result = answerFile(dialog);
    else if (qobject_cast<QColorDialog*>(&dialog))
        result = answerColour(dialog);
    else if (qobject_cast<AboutDialog*>(&dialog))
        result = QDialog::Accepted;
    else
        result = session(dialog);
    --depth_;
    return result;
}

void DialogFuzzer::openHelpFile() {
    note("the help file opens");
}

int DialogFuzzer::answerMessage(QDialog& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    std::vector<QMessageBox::StandardButton> buttons;
    for (const QMessageBox::StandardButton button :
         {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No})
        if (box.standardButtons() & button)
            buttons.push_back(button);
    const QMessageBox::StandardButton answer =
        buttons.empty() ? QMessageBox::Ok : buttons[pick(int(buttons.size()))];
    note("  \"" + box.text().left(40).simplified().toStdString() + "\" answered " +
         std::to_string(answer));
    return answer;
}

int DialogFuzzer::answerName(QDialog& dialog) {
    const char* names[] = {"Spiral", "", "  ", "Caf\xC3\xA9 \xE2\x82\xAC", "A name of twenty-one!",
                           "Second"};
    const QString name = QString::fromUtf8(names[pick(6)]);
    note("types the name \"" + name.toStdString() + "\"");
    controlIn<QLineEdit>(&dialog, 1000)->setText(name);
    if (chance(20)) {
        dialog.reject();
        return dialog.result();
    }
    const QPointer<QDialog> alive(&dialog);
    controlIn<QAbstractButton>(&dialog, 1)->click();
    if (alive && dialog.isVisible())
        dialog.reject();
    return alive ? dialog.result() : int(QDialog::Rejected);
}

int DialogFuzzer::answerFile(QDialog& dialog) {
    auto& chooser = static_cast<QFileDialog&>(dialog);
    if (chance(15)) {
        note("  cancels the file dialog");
        return QDialog::Rejected;
    }
    const bool saving = chooser.acceptMode() == QFileDialog::AcceptSave;
    const char* saves[] = {"bank0.pat", "bank1", "plain/inside.pat", "good.pat"};
    const char* loads[] = {"good.pat", "notes.txt", "bank0.pat", "bank1.pat", "missing.pat"};
    const std::string file = saving ? saves[pick(4)] : loads[pick(5)];
    note("  chooses " + file);
    chooser.selectFile(QString::fromStdString((folder_.path() / file).string()));
    dialog.done(QDialog::Accepted);
    return dialog.result();
}

int DialogFuzzer::answerColour(QDialog& dialog) {
    auto& chooser = static_cast<QColorDialog&>(dialog);
    const QColor colour = QColor::fromRgb(pick(256), pick(256), pick(256));
    if (chance(20))
        QColorDialog::setCustomColor(pick(16), colour);
    chooser.setCurrentColor(colour);
    const bool accept = chance(70);
    note("  " + std::string(accept ? "takes " : "cancels ") + colour.name().toStdString());
    dialog.done(accept ? QDialog::Accepted : QDialog::Rejected);
    return dialog.result();
}

int DialogFuzzer::session(QDialog& dialog) {
    const QPointer<QDialog> alive(&dialog);
    dialog.show();
    runPendingEvents();
    if (qobject_cast<PreferencesDialog*>(&dialog))
        noTabMarksAtStart_[&dialog] = controlIn<QAbstractButton>(&dialog, 1112)->isChecked();
    check(dialog);
    const int budget = 1 + pick(15);
    for (int i = 0; i < budget && alive && dialog.isVisible() && step_ < steps_; ++i)
        act(dialog);
    if (alive && dialog.isVisible())
        end(dialog);
    deferred_.erase(&dialog);
    noTabMarksAtStart_.erase(&dialog);
    return alive ? dialog.result() : int(QDialog::Rejected);
}

void DialogFuzzer::end(QDialog& dialog) {
    const QPointer<QDialog> alive(&dialog);
    for (int attempt = 0; attempt < 4 && alive && dialog.isVisible(); ++attempt) {
        ++step_;
        switch (pick(4)) {
        case 0:
        case 1: {
            const int id = chance(60) ? 1 : 2;
            const Input input = chance(80) ? Input::Mouse : anyInput();
            note(std::string("ends it with ") + (id == 1 ? "OK" : "Cancel") + " by " +
                 nameOf(input));
            press(controlIn<QAbstractButton>(&dialog, id), input);
            break;
        }
        case 2:
            note("ends it with Escape");
            QTest::keyClick(&dialog, Qt::Key_Escape);
            break;
        default:
            note("ends it with the window's close button");
            dialog.close();
            break;
        }
        runPendingEvents();
    }
    if (alive && dialog.isVisible())
        fail("\"" + dialog.windowTitle().toStdString() + "\" would not end");
}

} // namespace lumivane::test
