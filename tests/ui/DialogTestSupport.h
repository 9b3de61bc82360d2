// What the dialog tests share: a modal runner that answers from a script, and
// a world of settings, store and scenes for a dialog to work on.
#pragma once

#include "engine/Scene.h"
#include "patterns/DataStore.h"
#include "ui/DialogContext.h"
#include "ui/ModalRunner.h"
#include "view/PlatformServices.h"

#include <QDialog>
#include <QMessageBox>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace lumivane::test {

// Makes sure the offscreen application exists.
void ensureApplication();

// Runs pending events (queued signals among them).
void settle();

class ScriptedRunner : public ModalRunner {
  public:
    using Answer = std::function<int(QDialog&)>;

    int exec(QDialog& dialog) override;
    void openHelpFile() override { ++helpFilesOpened; }

    // The next modal gets this answer; every modal without one fails the test.
    void then(Answer answer) { answers.push_back(std::move(answer)); }
    void thenButton(QMessageBox::StandardButton button) {
        then([button](QDialog&) { return int(button); });
    }
    void thenAccept(std::function<void(QDialog&)> fill = {});
    void thenReject() {
        then([](QDialog&) { return int(QDialog::Rejected); });
    }

    struct Shown {
        QString title;
        QString text; // of a message box
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    std::vector<Shown> shown;
    std::deque<Answer> answers;
    int helpFilesOpened = 0;
};

struct DialogWorld {
    DialogWorld();
    DialogContext context();

    DialogSettings settings;
    DisplaySettings display;
    DataStore store;
    std::unique_ptr<Scene> mainScene = std::make_unique<Scene>();
    std::unique_ptr<Scene> editorScene = std::make_unique<Scene>();
    ScriptedRunner runner;
    QString patternPath = QStringLiteral("/tmp/");
};

// A platform on which no saver runs and nothing is refused.
struct NoSaverPlatform : PlatformServices {
    bool isNtPlatform() const override { return true; }
    bool passwordInUse() const override { return false; }
    bool saverIsRunning() const override { return false; }
    bool verifyPassword(void*) override { return true; }
    void changePassword(long long) override {}
    void lowerPriority() override {}
    bool acquireSaverLock(std::string&) override { return true; }
};

// The control of dialog with object name "id" + templateId; fails the test
// when there is none.
QWidget* findControl(const QWidget* dialog, int templateId);
template <typename Control = QWidget> Control* controlOf(const QWidget* dialog, int templateId) {
    return qobject_cast<Control*>(findControl(dialog, templateId));
}

// A pattern named name (stored with its trailing space) with a distinctive size.
Pattern namedPattern(const char* name, int imageSize);

} // namespace lumivane::test
