#include "TestFolders.h"

#include "app/PasswordDecisions.h"
#include "app/PlatformLinux.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumivane {
namespace {

TEST(PasswordDecisions, PasswordInUseFromSetting) {
    EXPECT_TRUE(passwordInUseFrom(false, 0)); // value absent or unreadable
    EXPECT_FALSE(passwordInUseFrom(true, 0));
    EXPECT_TRUE(passwordInUseFrom(true, 1));
    EXPECT_TRUE(passwordInUseFrom(true, 0x100));
}

TEST(PasswordDecisions, NtSaverRecognisedOnlyByExactScreenSizedPopup) {
    const std::uint32_t popupVisible = STYLE_POPUP | STYLE_VISIBLE;
    const WindowRect screen{0, 0, 1920, 1080};
    struct Case {
        const char* what;
        bool foreground;
        std::uint32_t style;
        WindowRect rect;
        bool running;
    };
    const Case cases[] = {
        {"full-screen popup", true, popupVisible | 0x00CF0000u, screen, true},
        {"offset but same size", true, popupVisible, {-5, -5, 1915, 1075}, true},
        {"no foreground window", false, popupVisible, screen, false},
        {"one pixel narrower", true, popupVisible, {0, 0, 1919, 1080}, false},
        {"one pixel shorter", true, popupVisible, {0, 0, 1920, 1079}, false},
        {"minimised", true, popupVisible | 0x20000000u, screen, false},
        {"child", true, popupVisible | 0x40000000u, screen, false},
        {"hidden", true, STYLE_POPUP, screen, false},
        {"overlapped", true, STYLE_VISIBLE, screen, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ntSaverIsRunningFrom(c.foreground, c.style, c.rect, 1920, 1080), c.running)
            << c.what;
}

TEST(PasswordDecisions, VerifyNeverBlockedByMissingService) {
    EXPECT_TRUE(verifyPasswordFrom(true, true, true, 0)); // NT asks nothing
    EXPECT_TRUE(verifyPasswordFrom(false, false, false, 0));
    EXPECT_TRUE(verifyPasswordFrom(false, true, false, 0));
    EXPECT_FALSE(verifyPasswordFrom(false, true, true, 0));
    EXPECT_TRUE(verifyPasswordFrom(false, true, true, 1));
}

TEST(PasswordDecisions, StartUpEndsOnlyOverProtectedRunningSaver) {
    EXPECT_FALSE(startUpMustEnd(false, true, true));
    EXPECT_TRUE(startUpMustEnd(true, true, false));
    EXPECT_TRUE(startUpMustEnd(true, false, true));
    EXPECT_FALSE(startUpMustEnd(true, false, false));
    EXPECT_TRUE(isNtPlatformId(2));
    EXPECT_FALSE(isNtPlatformId(1));
}

class SaverLock : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::testConfigHome();
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    }
    testing::TempFolder runtime;
};

TEST_F(SaverLock, HeldWhileTheFullScreenInstanceLives) {
    LinuxPlatformServices observer;
    EXPECT_FALSE(observer.saverIsRunning());
    {
        LinuxPlatformServices saver;
        ASSERT_TRUE(saver.acquireSaverLock());
        EXPECT_TRUE(saver.acquireSaverLock()); // a second call keeps the same lock
        EXPECT_TRUE(observer.saverIsRunning());
        LinuxPlatformServices rival;
        EXPECT_FALSE(rival.acquireSaverLock());
    }
    EXPECT_FALSE(observer.saverIsRunning());
    EXPECT_EQ(saverLockPath(), runtime.path().string() + "/lumivane.lock");
}

TEST_F(SaverLock, PlantedLinkIsNotFollowed) {
    const auto target = runtime.path() / "elsewhere";
    std::filesystem::create_symlink(target, saverLockPath());
    LinuxPlatformServices saver;
    EXPECT_FALSE(saver.acquireSaverLock());
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_FALSE(saver.saverIsRunning());
}

TEST_F(SaverLock, LinuxAsksForNoPassword) {
    LinuxPlatformServices services;
    EXPECT_TRUE(services.isNtPlatform());
    EXPECT_FALSE(services.passwordInUse());
    EXPECT_TRUE(services.verifyPassword(nullptr));
}

} // namespace
} // namespace lumivane
