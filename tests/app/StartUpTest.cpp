#include "TestFolders.h"
#include "ToolRun.h"
#include "patterns/FileSizeLimit.h"

#include "app/PlatformLinux.h"
#include "app/SaverApp.h"
#include "engine/Random.h"
#include "patterns/StoreFile.h"
#include "view/ViewRules.h"

#include <QFontMetrics>
#include <QSettings>

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace lumivane {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

struct FakePlatform : PlatformServices {
    bool running = false;
    bool nt = true;
    bool password = false;
    long long changedWith = -1;
    int lowered = 0;
    int locked = 0;
    bool lockRefused = false;

    bool isNtPlatform() const override { return nt; }
    bool passwordInUse() const override { return password; }
    bool saverIsRunning() const override { return running; }
    bool verifyPassword(void*) override { return false; }
    void changePassword(long long handle) override { changedWith = handle; }
    void lowerPriority() override { ++lowered; }
    bool acquireSaverLock(std::string& problem) override {
        ++locked;
        problem = lockRefused ? "planted" : "";
        return !lockRefused;
    }
};

const char* const APP_NAME = "lumivane-test";
// A switch outside the table: start-up runs in full and no window is made.
const std::vector<std::string> NO_WINDOW{"x"};

// Fresh data, system and current folders for every test, and an empty profile.
class StartUp : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::testConfigHome();
        ::setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (shared.slashed() + "missing:" + shared.path().string()).c_str(),
                 1);
        previousDir = fs::current_path();
        fs::current_path(currentDir.path());
        profile().clear();
        auto fake = std::make_unique<FakePlatform>();
        platform = fake.get();
        app = std::make_unique<SaverApp>(APP_NAME, std::move(fake));
    }
    void TearDown() override { fs::current_path(previousDir); }

    static std::unique_ptr<QSettings> profileSettings() {
        auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                    PROFILE_COMPANY, APP_NAME);
        settings->beginGroup("Config");
        return settings;
    }
    QSettings& profile() {
        settings = profileSettings();
        return *settings;
    }

    fs::path userFile() const { return dataHome.path() / "lumivane" / DATA_FILE_NAME; }
    fs::path systemFile() const { return shared.path() / "lumivane" / DATA_FILE_NAME; }
    fs::path currentFile() const { return currentDir.path() / DATA_FILE_NAME; }

    // A store file with one pattern named name and distinctive option words.
    static void writeStore(const fs::path& file, const char* name) {
        fs::create_directories(file.parent_path());
        DataStore store;
        store.clear();
        Pattern pattern;
        pattern.setNameText(name);
        store.addPattern(pattern);
        store.politeMode = 0;
        store.noTabMarks = 1;
        store.warnOnQuit = 0;
        store.enterKeepsDialog = 1;
        saveStoreFile(file.string(), store);
    }
    std::string firstName() { return app->store().patternAt(0)->nameText(); }

    TempFolder dataHome, shared, currentDir;
    fs::path previousDir;
    std::unique_ptr<QSettings> settings;
    FakePlatform* platform = nullptr;
    std::unique_ptr<SaverApp> app;
};

TEST_F(StartUp, NoDataFileAnywhereGivesDefaultsAndSavesToUserFolder) {
    EXPECT_FALSE(app->startUp(NO_WINDOW));
    EXPECT_EQ(app->dataSource(), DataSource::Defaults);
    EXPECT_EQ(app->store().count(), 1);
    for (ColourRef colour : app->store().customColours)
        EXPECT_EQ(colour, 0xC0C0FFu);
    const DialogSettings& words = app->options().dialogs;
    EXPECT_TRUE(words.warnOnQuit && words.enterKeepsDialog);
    EXPECT_FALSE(words.politeMode || words.noTabMarks);
    EXPECT_EQ(app->store().politeMode, 1); // persisted default differs from the working copy
    EXPECT_EQ(app->options().dataDirectory, dataHome.slashed() + "lumivane/");

    std::ostringstream err;
    ASSERT_TRUE(app->saveSettings(err)) << err.str();
    EXPECT_TRUE(fs::is_regular_file(userFile()));
    EXPECT_FALSE(fs::exists(currentFile()));
}

TEST_F(StartUp, ReadsUserFolderFirstAndCopiesOptionWords) {
    writeStore(userFile(), "user");
    writeStore(currentFile(), "current");
    app->startUp(NO_WINDOW);
    EXPECT_EQ(app->dataSource(), DataSource::DataDirectory);
    EXPECT_EQ(firstName(), "user");
    const DialogSettings& words = app->options().dialogs;
    EXPECT_FALSE(words.politeMode);
    EXPECT_TRUE(words.noTabMarks);
    EXPECT_FALSE(words.warnOnQuit);
    EXPECT_TRUE(words.enterKeepsDialog);
}

TEST_F(StartUp, CurrentDirectoryFileIsReadAndSavedBackThere) {
    writeStore(currentFile(), "current");
    app->startUp(NO_WINDOW);
    EXPECT_EQ(app->dataSource(), DataSource::CurrentDirectory);
    EXPECT_EQ(firstName(), "current");
    EXPECT_EQ(app->options().dataDirectory, "");
    EXPECT_TRUE(app->options().dialogs.noTabMarks);

    app->store().patternAt(0)->setNameText("changed");
    std::ostringstream err;
    ASSERT_TRUE(app->saveSettings(err)) << err.str();
    EXPECT_FALSE(fs::exists(userFile()));
    DataStore reread;
    loadStoreFile(currentFile().string(), reread);
    EXPECT_EQ(reread.patternAt(0)->nameText(), "changed");
}

TEST_F(StartUp, SystemFolderFileIsReadButSavedToUserFolder) {
    writeStore(systemFile(), "system");
    app->startUp(NO_WINDOW);
    EXPECT_EQ(app->dataSource(), DataSource::SystemDirectory);
    EXPECT_EQ(firstName(), "system");
    EXPECT_TRUE(app->options().dialogs.noTabMarks);
    std::ostringstream err;
    ASSERT_TRUE(app->saveSettings(err)) << err.str();
    EXPECT_TRUE(fs::is_regular_file(userFile()));
}

TEST_F(StartUp, DamagedUserFileFallsBackToNextSource) {
    writeStore(userFile(), "user");
    fs::resize_file(userFile(), fs::file_size(userFile()) - 10);
    writeStore(currentFile(), "current");
    app->startUp(NO_WINDOW);
    EXPECT_EQ(app->dataSource(), DataSource::CurrentDirectory);
    EXPECT_EQ(firstName(), "current");
}

TEST_F(StartUp, RefusedFileCountsAsReadAndCopiesWordsAsTheyStand) {
    fs::create_directories(userFile().parent_path());
    std::ofstream(userFile()) << "just some text, not patterns\n";
    writeStore(currentFile(), "current");
    app->startUp(NO_WINDOW);
    EXPECT_EQ(app->dataSource(), DataSource::DataDirectory);
    EXPECT_EQ(app->store().loadStatus(), LOAD_NOT_A_STORE);
    EXPECT_EQ(app->store().count(), 0);
    EXPECT_FALSE(app->options().dialogs.warnOnQuit); // the untouched store's words are all 0
    EXPECT_EQ(app->store().customColours[15], 0xC0C0FFu);
}

TEST_F(StartUp, OnlyProfileValueOneTurnsDisplaySwitchesOn) {
    struct Case {
        QVariant stored;
        bool on;
    };
    for (const Case& c : {Case{QVariant(), true}, Case{0, false}, Case{1, true}, Case{2, false},
                          Case{"yes", false}}) {
        auto stored = profileSettings();
        stored->remove("ShowPatternName");
        stored->remove("AntiAlias");
        if (c.stored.isValid()) {
            stored->setValue("ShowPatternName", c.stored);
            stored->setValue("AntiAlias", c.stored);
        }
        stored->sync();
        SaverApp fresh(APP_NAME, std::make_unique<FakePlatform>());
        fresh.startUp(NO_WINDOW);
        EXPECT_EQ(fresh.options().display.showPatternName, c.on)
            << c.stored.toString().toStdString();
        EXPECT_EQ(fresh.options().display.antiAlias, c.on) << c.stored.toString().toStdString();
    }
}

TEST_F(StartUp, SavingWritesProfileSwitchesAsZeroOrOne) {
    profile().setValue("ShowPatternName", 2);
    profile().sync();
    app->startUp(NO_WINDOW);
    std::ostringstream err;
    app->saveSettings(err);
    auto written = profileSettings();
    EXPECT_EQ(written->value("ShowPatternName").toInt(), 0);
    EXPECT_EQ(written->value("AntiAlias").toInt(), 1);
}

TEST_F(StartUp, RunningSaverEndsStartUpBeforeAnythingIsRead) {
    writeStore(userFile(), "user");
    platform->running = true;
    EXPECT_FALSE(app->startUp({"s"}));
    EXPECT_EQ(app->store().count(), 0);
    EXPECT_FALSE(app->options().display.fullScreen);
}

TEST_F(StartUp, RunningSaverWithoutPasswordOnOlderPlatformStillStarts) {
    platform->running = true;
    platform->nt = false;
    app->startUp(NO_WINDOW);
    EXPECT_EQ(app->store().count(), 1);
}

TEST_F(StartUp, SeedsSharedRandomWithTheTime) {
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    app->startUp(NO_WINDOW);
    const auto after = static_cast<std::uint32_t>(std::time(nullptr));
    EXPECT_GE(sharedRandom().state(), before);
    EXPECT_LE(sharedRandom().state(), after);
}

TEST_F(StartUp, PasswordSwitchHandsParentHandleToPlatform) {
    EXPECT_FALSE(app->startUp({"/a:4321"}));
    EXPECT_EQ(platform->changedWith, 4321);
}

TEST_F(StartUp, FullScreenFollowsStoredPoliteModeNotWorkingCopy) {
    testing::ensureGuiApplication();
    profile().setValue("ShowPatternName", 1);
    profile().sync();
    app->startUp(NO_WINDOW); // no data file: stored polite mode on
    app->prepareFullScreen(std::cerr);
    EXPECT_TRUE(app->options().display.fullScreen);
    EXPECT_FALSE(app->options().dialogs.politeMode);
    EXPECT_EQ(platform->lowered, 1);
    EXPECT_EQ(platform->locked, 1);
    ASSERT_TRUE(app->options().display.nameFont.has_value());
    EXPECT_TRUE(app->options().display.nameFont->italic());
    const QFontMetrics name(*app->options().display.nameFont); // a 30-pixel cell in the face found
    EXPECT_LE(name.ascent() + name.descent(), NAME_FONT_HEIGHT);
    EXPECT_GE(name.ascent() + name.descent(), NAME_FONT_HEIGHT - 1);

    writeStore(userFile(), "user"); // stored polite mode off
    FakePlatform* quiet = new FakePlatform;
    SaverApp second(APP_NAME, std::unique_ptr<PlatformServices>(quiet));
    second.startUp(NO_WINDOW);
    quiet->lockRefused = true;
    std::ostringstream err;
    second.prepareFullScreen(err);
    EXPECT_EQ(quiet->lowered, 0);
    EXPECT_TRUE(second.options().display.fullScreen); // the saver still runs
    EXPECT_EQ(err.str(), "lumivane: running without the saver lock: planted\n");
}

// Choices for one run: the pattern named (accents and all, without its
// trailing space), then the mode, the name overlay and hard edges.
TEST_F(StartUp, DisplayOverridesChangeOnlyThisRun) {
    writeStore(userFile(), "Caf\xE9 ");
    profile().setValue("ShowPatternName", 1);
    settings.reset();
    const std::string before = testing::fileBytes(userFile());
    DisplayOverrides overrides;
    overrides.patternName = "Caf\xC3\xA9";
    overrides.noName = true;
    overrides.noAntiAlias = true;
    app->setDisplayOverrides(overrides);
    app->startUp(NO_WINDOW);
    EXPECT_EQ(app->store().current.nameText(), "Caf\xE9 ");
    EXPECT_EQ(app->store().fullScreenMode, FULLSCREEN_USE_CURRENT);
    EXPECT_FALSE(app->options().display.showPatternName);
    EXPECT_TRUE(app->options().display.hardEdges);

    overrides.fullScreenMode = FULLSCREEN_CYCLE;
    app = std::make_unique<SaverApp>(APP_NAME, std::make_unique<FakePlatform>());
    app->setDisplayOverrides(overrides);
    app->startUp(NO_WINDOW);
    EXPECT_EQ(app->store().fullScreenMode, FULLSCREEN_CYCLE);
    EXPECT_EQ(testing::fileBytes(userFile()), before);
}

TEST_F(StartUp, ShutDownFreesStoredPatterns) {
    writeStore(userFile(), "user");
    app->startUp(NO_WINDOW);
    app->shutDown();
    EXPECT_EQ(app->store().count(), 0);
}

TEST_F(StartUp, FailedSaveLeavesOldFileAndReportsOneLine) {
    writeStore(userFile(), "old");
    const auto oldSize = fs::file_size(userFile());
    app->startUp(NO_WINDOW);
    app->store().addPattern(Pattern{});
    std::ostringstream err;
    {
        const testing::FileSizeLimit nearlyFull(100); // as on a full disk
        EXPECT_FALSE(app->saveSettings(err));
    }
    EXPECT_EQ(fs::file_size(userFile()), oldSize);
    EXPECT_EQ(std::distance(fs::directory_iterator(userFile().parent_path()), {}), 2)
        << "the data file and its lock file";
    const std::string message = err.str();
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(message.find('\n'), message.size() - 1);
}

TEST_F(StartUp, SaveIntoImpossibleFolderFailsQuietly) {
    app->startUp(NO_WINDOW);
    std::ofstream(dataHome.path() / "plain") << "x";
    app->options().dataDirectory = dataHome.slashed() + "plain/sub/";
    std::ostringstream err;
    EXPECT_FALSE(app->saveSettings(err));
    EXPECT_NE(err.str().find("not saved"), std::string::npos);
}

// A FIFO or a device at the data file's place counts as a file that cannot be
// opened: start-up goes on to the next place without waiting on it, and OK
// refuses to put a file in its place. (Nodes in the test's own folders.)
TEST_F(StartUp, NodeAtTheDataFilesPlaceIsPassedOverAndKept) {
    writeStore(systemFile(), "system");
    fs::create_directories(userFile().parent_path());
    for (const mode_t kind : {S_IFIFO, S_IFCHR}) {
        if (kind == S_IFCHR && ::geteuid() != 0)
            continue; // making a device needs root
        fs::remove(userFile());
        ASSERT_EQ(::mknod(userFile().c_str(), kind | 0600, ::makedev(1, 3)), 0);
        const fs::file_type type = fs::status(userFile()).type();
        app = std::make_unique<SaverApp>(APP_NAME, std::make_unique<FakePlatform>());
        ::alarm(10); // start-up waiting on the FIFO ends the test program here
        app->startUp(NO_WINDOW);
        ::alarm(0);
        EXPECT_EQ(app->dataSource(), DataSource::SystemDirectory);
        EXPECT_EQ(firstName(), "system");
        std::ostringstream err;
        EXPECT_FALSE(app->saveSettings(err));
        EXPECT_NE(err.str().find("is not a regular file"), std::string::npos) << err.str();
        EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line: " << err.str();
        EXPECT_EQ(fs::status(userFile()).type(), type);
    }
}

// A FIFO or a device at the profile's place is neither waited on nor replaced:
// the switches keep their defaults and OK saves the data file all the same.
TEST_F(StartUp, NodeAtTheProfilesPlaceIsLeftAlone) {
    const std::string file = profileSettings()->fileName().toStdString();
    settings->sync();
    settings.reset();
    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const auto removeFifo = std::unique_ptr<const std::string, void (*)(const std::string*)>(
        &file, [](const std::string* path) { fs::remove(*path); });
    app = std::make_unique<SaverApp>(APP_NAME, std::make_unique<FakePlatform>());
    ::alarm(10); // waiting on the FIFO ends the test program here
    app->startUp(NO_WINDOW);
    EXPECT_TRUE(app->options().display.showPatternName);
    EXPECT_TRUE(app->options().display.antiAlias);
    std::ostringstream err;
    EXPECT_TRUE(app->saveSettings(err)) << err.str();
    ::alarm(0);
    EXPECT_EQ(fs::status(file).type(), fs::file_type::fifo);
}

// A link put at the data file's name after start-up read it is not followed
// by OK (in a shared folder, another user could point it at any file of
// ours); one that was there at start-up is (a dotfiles folder).
TEST_F(StartUp, OkFollowsOnlyLinksThatWereThereAtStartUp) {
    writeStore(userFile(), "user");
    const fs::path elsewhere = dataHome.path() / "elsewhere.dat";
    writeStore(elsewhere, "elsewhere");
    const std::string kept = testing::fileBytes(elsewhere);
    app->startUp(NO_WINDOW);
    fs::remove(userFile());
    fs::create_symlink(elsewhere, userFile());
    std::ostringstream err;
    EXPECT_FALSE(app->saveSettings(err));
    EXPECT_NE(err.str().find("link that was not there"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line: " << err.str();
    EXPECT_EQ(testing::fileBytes(elsewhere), kept);
    EXPECT_FALSE(fs::exists(userFile().string() + ".bak"));
    EXPECT_FALSE(fs::exists(elsewhere.string() + ".lock")); // nothing made where it leads

    app = std::make_unique<SaverApp>(APP_NAME, std::make_unique<FakePlatform>());
    app->startUp(NO_WINDOW);
    EXPECT_EQ(firstName(), "elsewhere");
    app->store().patternAt(0)->setNameText("changed");
    ASSERT_TRUE(app->saveSettings(err)) << err.str();
    EXPECT_TRUE(fs::is_symlink(userFile()));
    DataStore saved;
    loadStoreFile(elsewhere.string(), saved);
    EXPECT_EQ(saved.patternAt(0)->nameText(), "changed");
}

// A merge made while the dialog is open is not lost silently: OK keeps the
// merged file as Lumivane.dat.bak, says so in one line, and then saves.
TEST_F(StartUp, OkAfterAMergeKeepsTheMergedFile) {
    writeStore(userFile(), "user");
    app->startUp(NO_WINDOW);
    writeStore(currentDir.path() / "friends.pat", "friend");
    const testing::ToolRun merge =
        testing::runTool({"--merge-bank", (currentDir.path() / "friends.pat").string()});
    ASSERT_EQ(merge.status, 0) << merge.err;
    const std::string merged = testing::fileBytes(userFile());
    std::ostringstream err;
    ASSERT_TRUE(app->saveSettings(err)) << err.str();
    const std::string backup = userFile().string() + ".bak";
    EXPECT_EQ(err.str(), "lumivane: " + userFile().string() +
                             " was changed since it was read; keeping it as " + backup + "\n");
    EXPECT_EQ(testing::fileBytes(backup), merged);
    DataStore saved;
    loadStoreFile(userFile().string(), saved);
    EXPECT_EQ(saved.count(), 1);

    fs::remove(backup); // an unchanged file is saved without a copy
    std::ostringstream quiet;
    ASSERT_TRUE(app->saveSettings(quiet));
    EXPECT_EQ(quiet.str(), "");
    EXPECT_FALSE(fs::exists(backup));
}

// Of two savers started together, one runs: the second decides by the lock
// itself, even when its check for a running saver came just before the first
// one took the lock.
TEST_F(StartUp, SecondOfTwoSaversStartedTogetherEnds) {
    struct CheckedTooEarly : LinuxPlatformServices {
        bool saverIsRunning() const override { return false; }
    };
    testing::ensureGuiApplication();
    LinuxPlatformServices first;
    std::string problem;
    ASSERT_TRUE(first.acquireSaverLock(problem)) << problem;
    SaverApp second(APP_NAME, std::make_unique<CheckedTooEarly>());
    EXPECT_FALSE(second.startUp({"/s"}));
    EXPECT_FALSE(second.options().display.fullScreen);
}

} // namespace
} // namespace lumivane
