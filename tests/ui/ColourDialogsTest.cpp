// The background colour dialog, and the custom colours that it and the layer
// editor's colour choosers share through the store.
#include "DialogTestSupport.h"

#include "../app/TestFolders.h"
#include "app/RunModes.h"
#include "app/SaverApp.h"
#include "patterns/StoreFile.h"
#include "ui/BackgroundColourDialog.h"
#include "ui/ConfigDialog.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace lumivane::test {
namespace {

namespace fs = std::filesystem;
using lumivane::testing::TempFolder;

TEST(BackgroundColourDialog, ModeIsTheButtonChosenOrKeptWhenNone) {
    DialogWorld world;
    struct Case {
        std::int32_t mode;
        int click; // template id of the button clicked, 0 for none
        std::int32_t expected;
    };
    for (const Case& c : std::vector<Case>{{1, 0, 1}, {1, 102, 2}, {7, 0, 7}, {-1, 100, 0}}) {
        SCOPED_TRACE(c.mode * 1000 + c.click);
        BackgroundColourDialog dialog(world.context(), 0x123456, c.mode);
        dialog.show();
        for (const int id : {100, 101, 102}) {
            auto* radio = dialog.findChild<QRadioButton*>(QStringLiteral("id%1").arg(id));
            ASSERT_NE(radio, nullptr);
            EXPECT_EQ(radio->isChecked(), id - 100 == c.mode);
            if (id == c.click)
                radio->click();
        }
        dialog.findChild<QPushButton*>("id1")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.mode(), c.expected);
        EXPECT_EQ(dialog.colour(), 0x123456u);
    }

    // Escape inside the embedded chooser ends this dialog, not just the chooser.
    BackgroundColourDialog dialog(world.context(), 0, 0);
    dialog.show();
    auto* chooser = dialog.findChild<QColorDialog*>("colourChooser");
    QTest::keyClick(chooser->findChild<QLineEdit*>(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

QPushButton* addToCustomColours(QDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text().contains(QStringLiteral("Custom")))
            return button;
    }
    ADD_FAILURE() << "no button adds a custom colour";
    return nullptr;
}

// A colour added in the background dialog is in the store, shows in the layer
// editor's chooser whatever Qt's own table holds meanwhile, and one added
// there (then cancelled) is kept as well; OK writes both to the data file.
TEST(CustomColours, TravelFromDialogToDialogAndToTheDataFile) {
    lumivane::testing::testConfigHome();
    ensureApplication();
    TempFolder dataHome;
    ::setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
    ::setenv("XDG_DATA_DIRS", dataHome.path().c_str(), 1);
    ScriptedRunner runner;
    SaverApp app("lumivane-colour-test", std::make_unique<NoSaverPlatform>());
    app.startUp({"x"});
    app.options().dialogs.warnOnQuit = false;
    ConfigDialog dialog(configurationContext(app, runner));
    dialog.show();

    runner.then([](QDialog& background) {
        auto* chooser = background.findChild<QColorDialog*>("colourChooser");
        chooser->setCurrentColor(QColor(1, 2, 3));
        addToCustomColours(background)->click();
        background.accept();
        return background.result();
    });
    dialog.findChild<QPushButton*>("id1007")->click();
    EXPECT_EQ(app.store().customColours[0], 0x030201u);
    EXPECT_EQ(app.store().customColours[1], 0xC0C0FFu);

    QColorDialog::setCustomColor(0, Qt::white);
    runner.then([](QDialog& editor) {
        editor.findChild<QPushButton*>("id1051")->click();
        editor.accept();
        return editor.result();
    });
    runner.then([](QDialog& chooser) {
        EXPECT_EQ(QColorDialog::customColor(0), QColor(1, 2, 3));
        // The user puts a colour in the second well, then cancels.
        QColorDialog::setCustomColor(1, QColor(4, 5, 6));
        chooser.reject();
        return chooser.result();
    });
    dialog.findChild<QPushButton*>("id1094")->click();
    EXPECT_TRUE(runner.answers.empty());

    dialog.findChild<QPushButton*>("id1")->click();
    finishConfiguration(app, dialog.result() == QDialog::Accepted);
    DataStore saved;
    loadStoreFile((dataHome.path() / "lumivane" / "Lumivane.dat").string(), saved);
    EXPECT_EQ(saved.customColours[0], 0x030201u);
    EXPECT_EQ(saved.customColours[1], 0x060504u);
    EXPECT_EQ(saved.customColours[2], 0xC0C0FFu);
    app.shutDown();
}

} // namespace
} // namespace lumivane::test
