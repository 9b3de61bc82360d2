#include "DialogTestSupport.h"
#include "InputDriver.h"

#include "ui/PreferencesDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace lumivane::test {
namespace {

// Only a pointer that crossed the dialog's own surface lets "No tab marks" be
// checked, whatever checks it; one that went straight onto a control does not.
TEST(PreferencesDialog, NoTabMarksCanOnlyBeCheckedAfterThePointerCrossedTheDialog) {
    for (const Input input : ALL_INPUTS) {
        SCOPED_TRACE(nameOf(input));
        DialogWorld world;
        PreferencesDialog dialog(Preferences{}, world.runner);
        dialog.show();
        auto* box = controlOf<QAbstractButton>(&dialog, 1112);
        QTest::mouseMove(box, box->rect().center());
        world.runner.thenButton(QMessageBox::Ok);
        toggle(box, input);
        settle();
        ASSERT_EQ(world.runner.shown.size(), 1u);
        EXPECT_EQ(world.runner.shown[0].title, "Error");
        EXPECT_EQ(world.runner.shown[0].text, "You can't check this except with the mouse!");
        EXPECT_FALSE(box->isChecked());
        EXPECT_FALSE(dialog.mouseSeen());

        QTest::mouseMove(&dialog, QPoint(2, 2));
        EXPECT_TRUE(dialog.mouseSeen());
        toggle(box, input);
        settle();
        EXPECT_TRUE(box->isChecked());
        EXPECT_EQ(world.runner.shown.size(), 1u);
    }
}

TEST(PreferencesDialog, DefaultShowsTheDefaultsAndKeepsTheDialogOpen) {
    DialogWorld world;
    const Preferences changed{true, false, false, true, false, true};
    PreferencesDialog dialog(changed, world.runner);
    dialog.show();
    EXPECT_EQ(dialog.preferences(), changed);
    dialog.findChild<QPushButton*>("id1114")->click();
    EXPECT_TRUE(dialog.isVisible());
    const Preferences defaults = dialog.preferences();
    EXPECT_EQ(defaults, Preferences{});
    EXPECT_FALSE(defaults.showPatternName); // although the profile's own default is on
    EXPECT_TRUE(defaults.antiAlias && defaults.warnOnQuit && defaults.enterKeepsDialog);
}

} // namespace
} // namespace lumivane::test
