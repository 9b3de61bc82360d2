#include "DialogTestSupport.h"

#include "ui/PreferencesDialog.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace lumivane::test {
namespace {

TEST(PreferencesDialog, NoTabMarksCanOnlyBeCheckedAfterTheMouseWasSeen) {
    DialogWorld world;
    PreferencesDialog dialog(Preferences{}, world.runner);
    dialog.show();
    auto* box = dialog.findChild<QCheckBox*>("id1112");
    world.runner.thenButton(QMessageBox::Ok);
    QTest::keyClick(box, Qt::Key_Space);
    ASSERT_EQ(world.runner.shown.size(), 1u);
    EXPECT_EQ(world.runner.shown[0].title, "Error");
    EXPECT_EQ(world.runner.shown[0].text, "You can't check this except with the mouse!");
    EXPECT_FALSE(box->isChecked());

    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), dialog.mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &move);
    EXPECT_TRUE(dialog.mouseSeen());
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(world.runner.shown.size(), 1u);
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
