#include "ProgramRun.h"
#include "TestFolders.h"

#include "app/PlatformLinux.h"
#include "app/win32/PasswordDecisions.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

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

namespace fs = std::filesystem;

// Every test here is guarded by an alarm: a lock that waits on a planted FIFO
// ends the test program instead of hanging it.
class SaverLock : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::testConfigHome();
        for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"})
            if (const char* value = std::getenv(name))
                saved[name] = value;
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        ::setenv("TMPDIR", temporary.path().c_str(), 1);
        ::alarm(10);
    }
    // Later tests must not see the removed folders: Qt would make the
    // runtime folder again and leave it behind.
    void TearDown() override {
        ::alarm(0);
        for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
            const auto value = saved.find(name);
            value == saved.end() ? ::unsetenv(name) : ::setenv(name, value->second.c_str(), 1);
        }
    }
    // The folder used when there is no runtime folder of this user's.
    fs::path privateFolder() const {
        return temporary.path() / ("lumivane-" + std::to_string(::getuid()));
    }
    static bool root() { return ::geteuid() == 0; }

    testing::TempFolder runtime, temporary;
    std::map<std::string, std::string> saved;
};

constexpr uid_t SOMEONE_ELSE = 65534;

TEST_F(SaverLock, HeldWhileTheFullScreenInstanceLives) {
    struct Case {
        const char* what;
        bool runtimeSet;
        bool runtimeForeign; // needs root
    };
    const Case cases[] = {
        {"runtime folder", true, false},
        {"no runtime folder", false, false},
        {"runtime folder of another user", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.runtimeForeign && !root()) {
            std::cout << "[  SKIPPED ] " << c.what << ": chown needs root\n";
            continue;
        }
        fs::remove_all(privateFolder());
        if (!c.runtimeSet)
            ::unsetenv("XDG_RUNTIME_DIR");
        if (c.runtimeForeign) {
            ASSERT_EQ(::chown(runtime.path().c_str(), SOMEONE_ELSE, SOMEONE_ELSE), 0);
        }
        const bool inRuntime = c.runtimeSet && !c.runtimeForeign;
        const fs::path expected = (inRuntime ? runtime.path() : privateFolder()) / "lumivane.lock";
        EXPECT_EQ(saverLockPath(), expected.string());

        LinuxPlatformServices observer;
        EXPECT_FALSE(observer.saverIsRunning());
        {
            LinuxPlatformServices saver;
            std::string problem;
            ASSERT_TRUE(saver.acquireSaverLock(problem)) << problem;
            EXPECT_TRUE(saver.acquireSaverLock(problem)); // a second call keeps the same lock
            EXPECT_TRUE(observer.saverIsRunning());
            LinuxPlatformServices rival;
            EXPECT_FALSE(rival.acquireSaverLock(problem));
            EXPECT_NE(problem.find("held by another saver"), std::string::npos) << problem;
        }
        EXPECT_FALSE(observer.saverIsRunning());
        if (!inRuntime) {
            EXPECT_EQ(fs::status(privateFolder()).permissions(), fs::perms::owner_all);
        }
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        [[maybe_unused]] const int back = ::chown(runtime.path().c_str(), ::getuid(), ::getgid());
    }
}

TEST_F(SaverLock, PlantedFilesAndFoldersAreRefusedWithoutWaiting) {
    const fs::path elsewhere = runtime.path() / "elsewhere";
    const fs::path runtimeLock = runtime.path() / "lumivane.lock";
    const fs::path privateLock = privateFolder() / "lumivane.lock";
    const auto makePrivateFolder = [this](fs::perms perms) {
        fs::create_directory(privateFolder());
        fs::permissions(privateFolder(), perms);
    };
    struct Case {
        const char* what;
        bool inPrivateFolder;
        bool needsRoot;
        std::function<void()> plant;
    };
    const Case cases[] = {
        {"link at the lock", false, false, [&] { fs::create_symlink(elsewhere, runtimeLock); }},
        {"FIFO at the lock", false, false,
         [&] { ASSERT_EQ(::mkfifo(runtimeLock.c_str(), 0666), 0); }},
        {"FIFO in the private folder", true, false,
         [&] {
             makePrivateFolder(fs::perms::owner_all);
             ASSERT_EQ(::mkfifo(privateLock.c_str(), 0666), 0);
         }},
        {"private folder open to others", true, false,
         [&] {
             makePrivateFolder(fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all);
         }},
        {"link in place of the private folder", true, false,
         [&] {
             fs::create_directory(elsewhere);
             fs::permissions(elsewhere, fs::perms::owner_all);
             fs::create_symlink(elsewhere, privateFolder());
         }},
        {"lock file of another user", false, true,
         [&] {
             std::ofstream(runtimeLock.string()) << "";
             ASSERT_EQ(::chown(runtimeLock.c_str(), SOMEONE_ELSE, SOMEONE_ELSE), 0);
         }},
        {"private folder of another user", true, true,
         [&] {
             makePrivateFolder(fs::perms::owner_all);
             ASSERT_EQ(::chown(privateFolder().c_str(), SOMEONE_ELSE, SOMEONE_ELSE), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && !root()) {
            std::cout << "[  SKIPPED ] " << c.what << ": chown needs root\n";
            continue;
        }
        fs::remove_all(elsewhere);
        fs::remove(runtimeLock);
        fs::remove_all(privateFolder());
        if (c.inPrivateFolder)
            ::unsetenv("XDG_RUNTIME_DIR");
        c.plant();

        LinuxPlatformServices saver;
        EXPECT_FALSE(saver.saverIsRunning());
        std::string problem;
        EXPECT_FALSE(saver.acquireSaverLock(problem));
        EXPECT_NE(problem.find(c.inPrivateFolder ? privateFolder().string() : runtimeLock.string()),
                  std::string::npos)
            << problem;
        EXPECT_FALSE(fs::exists(elsewhere / "lumivane.lock"));
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    }
    EXPECT_FALSE(fs::is_regular_file(elsewhere));
}

// The whole program: whatever is planted, the saver shows, says in one line
// that it runs without the lock, and ends normally on SIGTERM.
TEST_F(SaverLock, FullScreenRunsAndSaysSoWhenTheLockCannotBeTaken) {
    if (!fs::exists(testing::programPath()))
        GTEST_SKIP() << "program not built at " << testing::programPath();
    ::alarm(0); // the child runs are guarded by their own time limits
    struct Case {
        const char* what;
        bool inPrivateFolder;
        bool needsRoot;
    };
    const Case cases[] = {
        {"FIFO at the lock", false, false},
        {"lock file of another user in the private folder", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && !root()) {
            std::cout << "[  SKIPPED ] " << c.what << ": chown needs root\n";
            continue;
        }
        std::map<std::string, std::optional<std::string>> env{
            {"QT_QPA_PLATFORM", "offscreen"}, {"TMPDIR", temporary.path().string()}};
        if (c.inPrivateFolder) {
            env["XDG_RUNTIME_DIR"] = std::nullopt;
            fs::create_directory(privateFolder());
            fs::permissions(privateFolder(), fs::perms::owner_all);
            const fs::path lock = privateFolder() / "lumivane.lock";
            std::ofstream(lock.string()) << "";
            ASSERT_EQ(::chown(lock.c_str(), SOMEONE_ELSE, SOMEONE_ELSE), 0);
        } else {
            ASSERT_EQ(::mkfifo((runtime.path() / "lumivane.lock").c_str(), 0666), 0);
        }
        testing::ProgramRun saver({"/s"}, env);
        const std::string line = "lumivane: running without the saver lock: ";
        EXPECT_TRUE(saver.waitForError(line, 10)) << saver.errorText();
        EXPECT_FALSE(saver.waitForError("no display", 0.5)) << saver.errorText();
        EXPECT_TRUE(saver.running()) << saver.errorText();
        saver.stop(SIGTERM, 10);
        EXPECT_EQ(saver.endSignal(), SIGTERM) << saver.errorText();
        const std::string& err = saver.errorText();
        const auto at = err.find(line);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(err.find(line, at + 1), std::string::npos) << err;
        EXPECT_NE(err.find('\n', at), std::string::npos) << err;
    }
}

TEST_F(SaverLock, LinuxAsksForNoPassword) {
    LinuxPlatformServices services;
    EXPECT_TRUE(services.isNtPlatform());
    EXPECT_FALSE(services.passwordInUse());
    EXPECT_TRUE(services.verifyPassword(nullptr));
}

} // namespace
} // namespace lumivane
