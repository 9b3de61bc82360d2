#include "DialogTestSupport.h"

#include "../app/TestFolders.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace lumivane::test {

void ensureApplication() {
    testing::ensureGuiApplication();
    QApplication::setQuitOnLastWindowClosed(false);
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

int ScriptedRunner::exec(QDialog& dialog) {
    Shown entry{dialog.windowTitle(), {}, QMessageBox::NoIcon};
    if (const auto* box = qobject_cast<QMessageBox*>(&dialog)) {
        entry.text = box->text();
        entry.icon = box->icon();
    }
    shown.push_back(entry);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected modal \"" << entry.title.toStdString()
                      << "\": " << entry.text.toStdString();
        return QDialog::Rejected;
    }
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer(dialog);
}

void ScriptedRunner::thenAccept(std::function<void(QDialog&)> fill) {
    then([fill](QDialog& dialog) {
        if (fill)
            fill(dialog);
        dialog.accept();
        return dialog.result();
    });
}

DialogWorld::DialogWorld() {
    ensureApplication();
    store.clear();
    store.addPattern(namedPattern("First", 10));
    store.addPattern(namedPattern("Second", 20));
    store.addPattern(namedPattern("Third", 30));
    store.currentIndex = 0;
    store.current = *store.patternAt(0);
    settings.warnOnQuit = false;
    settings.enterKeepsDialog = false;
}

DialogContext DialogWorld::context() {
    return DialogContext{&settings,
                         &display,
                         &store,
                         mainScene.get(),
                         editorScene.get(),
                         &runner,
                         QStringLiteral("lumivane"),
                         [this] { return patternPath; },
                         [this](const QString& folder) { patternPath = folder; }};
}

QWidget* findControl(const QWidget* dialog, int templateId) {
    auto* found = dialog->findChild<QWidget*>(QStringLiteral("id%1").arg(templateId));
    EXPECT_NE(found, nullptr) << "no control id" << templateId;
    return found;
}

Pattern namedPattern(const char* name, int imageSize) {
    Pattern pattern;
    pattern.setNameText(std::string(name) + ' ');
    pattern.imageSize = imageSize;
    return pattern;
}

} // namespace lumivane::test
