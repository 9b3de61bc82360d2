// The configuration mode as a whole: start-up, the dialog, and what its ending
// writes to the profile and the data file.
#include "DialogTestSupport.h"

#include "../app/TestFolders.h"
#include "app/RunModes.h"
#include "app/SaverApp.h"
#include "patterns/StoreFile.h"
#include "ui/ConfigDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace lumivane::test {
namespace {

namespace fs = std::filesystem;
using lumivane::testing::fileBytes;
using namespace std::string_literals;
using lumivane::testing::TempFolder;

const char* const APP_NAME = "lumivane-ui-test";

class ConfigurationRun : public ::testing::Test {
  protected:
    void SetUp() override {
        lumivane::testing::testConfigHome();
        ensureApplication();
        ::setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
        ::setenv("XDG_DATA_DIRS", dataHome.path().c_str(), 1);
        previousDir = fs::current_path();
        fs::current_path(currentDir.path());
        settings().clear();
    }
    void TearDown() override { fs::current_path(previousDir); }

    static QSettings& settings() {
        static QSettings profile(QSettings::NativeFormat, QSettings::UserScope,
                                 "Lumivane Screensaver", APP_NAME);
        profile.sync();
        return profile;
    }

    // Start-up in configure mode, with the dialog made but not run.
    void start() {
        app = std::make_unique<SaverApp>(APP_NAME, std::make_unique<NoSaverPlatform>());
        app->startUp({"x"});
        dialog = std::make_unique<ConfigDialog>(configurationContext(*app, runner));
        dialog->show();
    }
    void finish(int button) {
        dialog->findChild<QPushButton*>(QStringLiteral("id%1").arg(button))->click();
        finishConfiguration(*app, dialog->result() == QDialog::Accepted);
        dialog.reset();
        app->shutDown();
    }
    void saveAs(const char* utf8Name) {
        runner.thenAccept([utf8Name](QDialog& nameDialog) {
            nameDialog.findChild<QLineEdit*>("id1000")->setText(QString::fromUtf8(utf8Name));
        });
        dialog->findChild<QPushButton*>("id1121")->click();
    }
    fs::path dataFile() const { return dataHome.path() / "lumivane" / "Lumivane.dat"; }

    TempFolder dataHome, currentDir;
    fs::path previousDir;
    ScriptedRunner runner;
    std::unique_ptr<SaverApp> app;
    std::unique_ptr<ConfigDialog> dialog;
};

TEST_F(ConfigurationRun, OkWritesTheProfileAndTheDataFile) {
    settings().setValue("Config/ShowPatternName", 2);
    start();
    EXPECT_TRUE(app->options().dialogs.helpCursorsReady);
    dialog->findChild<QSlider*>("id1106")->setValue(77);
    saveAs("Café €");
    finish(1);

    settings().sync();
    EXPECT_EQ(settings().value("Config/ShowPatternName").toInt(), 0);
    EXPECT_EQ(settings().value("Config/AntiAlias").toInt(), 1);
    DataStore saved;
    loadStoreFile(dataFile().string(), saved);
    ASSERT_EQ(saved.count(), 2);
    EXPECT_EQ(saved.current.imageSize, 77);
    EXPECT_EQ(saved.currentIndex, 1);
    // The name's bytes are Windows-1252: é is 0xE9, € is 0x80.
    EXPECT_EQ(saved.patternAt(1)->nameText(), "Caf\xE9 \x80 ");
    EXPECT_EQ(fileBytes(dataFile()).substr(8 + 380 * 2 + 348, 9), "Caf\xE9 \x80 \0\0"s);
}

TEST_F(ConfigurationRun, CancelAfterSaveLeavesTheFileAsItWas) {
    start();
    finish(1);
    const std::string before = fileBytes(dataFile());
    start();
    saveAs("Kept only in memory");
    runner.thenButton(QMessageBox::Yes);
    finish(2); // warnOnQuit is on without a data file of the user's: asked first
    EXPECT_EQ(runner.shown.back().text, "Exit without saving changes?");
    EXPECT_EQ(fileBytes(dataFile()), before);
}

// A data file start-up could not take is kept as Lumivane.dat.bak before OK
// replaces it, whatever a link planted at the backup's name points at.
TEST_F(ConfigurationRun, OkKeepsARefusedDataFileAsABackup) {
    fs::create_directories(dataFile().parent_path());
    const std::string laterVersion = "\x93\xFA\xC6\x08 from a later release";
    std::ofstream(dataFile(), std::ios::binary) << laterVersion;
    const fs::path decoy = currentDir.path() / "decoy";
    std::ofstream(decoy) << "not to be touched";
    fs::create_symlink(decoy, dataFile().string() + ".bak");

    app = std::make_unique<SaverApp>(APP_NAME, std::make_unique<NoSaverPlatform>());
    app->startUp({"x"});
    std::ostringstream err;
    ASSERT_TRUE(app->saveSettings(err));
    EXPECT_NE(err.str().find("Lumivane.dat.bak"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line";
    EXPECT_EQ(fileBytes(dataFile().string() + ".bak"), laterVersion);
    EXPECT_FALSE(fs::is_symlink(dataFile().string() + ".bak"));
    EXPECT_EQ(fileBytes(decoy), "not to be touched");
    DataStore saved;
    loadStoreFile(dataFile().string(), saved);
    EXPECT_EQ(saved.loadStatus(), LOAD_OK);

    // A damaged (short) file is kept the same way; a good one is not.
    std::ofstream(dataFile(), std::ios::binary | std::ios::trunc) << "\x92\xFA\xC6\x08\x05";
    app = std::make_unique<SaverApp>(APP_NAME, std::make_unique<NoSaverPlatform>());
    app->startUp({"x"});
    ASSERT_TRUE(app->saveSettings(err));
    EXPECT_EQ(fileBytes(dataFile().string() + ".bak"), "\x92\xFA\xC6\x08\x05");
    app = std::make_unique<SaverApp>(APP_NAME, std::make_unique<NoSaverPlatform>());
    app->startUp({"x"});
    fs::remove(dataFile().string() + ".bak");
    ASSERT_TRUE(app->saveSettings(err));
    EXPECT_FALSE(fs::exists(dataFile().string() + ".bak"));
}

// The folder of an accepted bank file dialog is kept in the profile, even
// after Cancel, and the next file dialog starts there, also in a later run.
TEST_F(ConfigurationRun, BankFileDialogsStartInTheLastBankFolder) {
    TempFolder banks;
    QStringList startFolders;
    const auto useBanks = [&](bool save) {
        runner.then([&, save](QDialog& bankDialog) {
            runner.then([&, save](QDialog& shown) {
                auto& chooser = dynamic_cast<QFileDialog&>(shown);
                startFolders << chooser.directory().absolutePath();
                if (!save)
                    return int(QDialog::Rejected);
                chooser.selectFile(QString::fromStdString((banks.path() / "mine.pat").string()));
                shown.done(QDialog::Accepted);
                return shown.result();
            });
            bankDialog.findChild<QPushButton*>(save ? "id1143" : "id1142")->click();
            return int(QDialog::Rejected);
        });
        dialog->findChild<QPushButton*>("id1144")->click();
    };
    start();
    useBanks(true);
    runner.thenButton(QMessageBox::Yes);
    finish(2);
    EXPECT_TRUE(fs::exists(banks.path() / "mine.pat"));
    settings().sync();
    EXPECT_EQ(settings().value("Config/PatternPath").toString().toStdString(), banks.slashed());

    start();
    useBanks(false);
    runner.thenButton(QMessageBox::Yes);
    finish(2);
    EXPECT_EQ(startFolders, (QStringList{QDir::homePath(), QString::fromStdString(banks.path())}));
}

} // namespace
} // namespace lumivane::test
