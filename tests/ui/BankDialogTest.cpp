#include "DialogTestSupport.h"

#include "../app/TestFolders.h"
#include "../patterns/FileSizeLimit.h"
#include "patterns/BankFile.h"
#include "patterns/StoreFile.h"
#include "ui/BankDialog.h"
#include "ui/ConfigDialog.h"
#include "ui/DropDownList.h"
#include "view/KaleidoView.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace lumivane::test {
namespace {

namespace fs = std::filesystem;
using lumivane::testing::TempFolder;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A bank file holding patterns of these names.
std::string writeBank(const fs::path& file, const std::vector<const char*>& names) {
    DataStore bank;
    bank.clear();
    for (const char* name : names)
        bank.addPattern(namedPattern(name, 60));
    saveStoreFile(file.string(), bank);
    return file.string();
}

// What a file dialog was opened with.
struct FileDialogSeen {
    QString title;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QString folder;
    QStringList filters;
    QString suffix;
    bool confirmsOverwrite = false;
};

class BankDialogTest : public ::testing::Test {
  public:
    void SetUp() override { open(); }
    void TearDown() override { EXPECT_TRUE(world.runner.answers.empty()) << "answers left unused"; }

    void restart() {
        dialog.reset();
        world = DialogWorld();
        open();
    }
    void open() {
        dialog = std::make_unique<BankDialog>(world.context(), world.store);
        dialog->show();
        settle();
    }
    template <typename Control = QWidget> Control* control(int id) {
        auto* found = dialog->findChild<Control*>(QStringLiteral("id%1").arg(id));
        EXPECT_NE(found, nullptr) << "no control id" << id;
        return found;
    }
    void click(int id) { control<QAbstractButton>(id)->click(); }
    void chooseFrom(int id, int index) {
        auto* list = control<DropDownList>(id);
        list->setCurrentIndex(index);
        emit list->activated(index);
        settle();
    }
    QStringList entries(int id) {
        QStringList names;
        auto* list = control<DropDownList>(id);
        for (int i = 0; i < list->count(); ++i)
            names << list->itemText(i);
        return names;
    }
    static QStringList namesOf(const DataStore& store) {
        QStringList names;
        for (int i = 0; i < store.count(); ++i)
            names << QString::fromStdString(store.patternAt(i)->nameText());
        return names;
    }
    int selected(int id) { return control<DropDownList>(id)->currentIndex(); }

    // The next file dialog chooses file (nothing: it is cancelled).
    void answerFile(std::optional<fs::path> file) {
        world.runner.then([this, file](QDialog& shown) {
            auto& chooser = dynamic_cast<QFileDialog&>(shown);
            seen = {chooser.windowTitle(),
                    chooser.acceptMode(),
                    chooser.directory().absolutePath(),
                    chooser.nameFilters(),
                    chooser.defaultSuffix(),
                    !chooser.testOption(QFileDialog::DontConfirmOverwrite)};
            if (!file)
                return int(QDialog::Rejected);
            chooser.selectFile(QString::fromStdString(file->string()));
            shown.done(QDialog::Accepted);
            return chooser.result();
        });
    }
    void loadBankFile(const fs::path& file) {
        answerFile(file);
        click(1142);
    }
    QString lastText() const {
        return world.runner.shown.empty() ? QString() : world.runner.shown.back().text;
    }

    DialogWorld world;
    std::unique_ptr<BankDialog> dialog;
    FileDialogSeen seen;
    TempFolder folder;
};

TEST_F(BankDialogTest, OpensWithTheSetOnTheLeftAndAnEmptyBlackBankOnTheRight) {
    EXPECT_EQ(dialog->windowTitle(), "Work with Pattern Banks");
    EXPECT_EQ(entries(1133), (QStringList{"First ", "Second ", "Third "}));
    EXPECT_EQ(selected(1133), 0);
    EXPECT_TRUE(entries(1134).isEmpty());
    EXPECT_EQ(dialog->setPreview()->pattern(), *world.store.patternAt(0));
    const Pattern& black = dialog->bankPreview()->pattern();
    EXPECT_EQ(black.amount[0] + black.amount[1] + black.amount[2], 0);
    EXPECT_EQ(black.backgroundColour, 0u);
    for (KaleidoView* preview : {dialog->setPreview(), dialog->bankPreview()}) {
        EXPECT_FALSE(preview->isPaused());
        EXPECT_TRUE(preview->isEditorPreview());
        EXPECT_NE(preview->scene(), world.mainScene.get());
        EXPECT_NE(preview->scene(), world.editorScene.get());
    }
    EXPECT_NE(dialog->setPreview()->scene(), dialog->bankPreview()->scene());

    const std::vector<std::tuple<int, const char*, const char*>> named = {
        {1, "OK", "OK"},
        {2, "Cancel", "Cancel"},
        {1135, "Copy Current", "Copy Current"},
        {1136, "Copy All ", "Copy All"},
        {1137, "Delete Current", "Delete Current"},
        {1145, "Delete All ", "Delete All"},
        {1142, "Load Bank", "Load Bank"},
        {1143, "Save Bank", "Save Bank"},
        {1139, "Add Bank", "Add Bank"},
        {1140, "Merge Bank", "Merge Bank"},
        {1141, "Replace By Bank", "Replace By Bank"},
        {1148, "Animate", "Animate set preview"},
        {1149, "Animate", "Animate bank preview"},
    };
    for (const auto& [id, caption, accessible] : named) {
        EXPECT_EQ(control<QAbstractButton>(id)->text().toStdString(), caption) << id;
        EXPECT_EQ(control(id)->accessibleName().toStdString(), accessible) << id;
    }
    EXPECT_TRUE(control<QCheckBox>(1148)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(1149)->isChecked());
    for (const int id : {1133, 1134, 1146, 1147, 1117})
        EXPECT_FALSE(control(id)->accessibleName().isEmpty()) << id;
    QStringList groups;
    for (const QGroupBox* group : dialog->findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups, (QStringList{"Copy Patterns To Bank", "Load Patterns From Bank", "Bank"}));
}

// Each button's effect on the set copy and the bank, their lists and previews.
TEST_F(BankDialogTest, ButtonsChangeTheSetCopyAndTheBank) {
    const std::string fourth =
        writeBank(folder.path() / "fourth.pat", {"Second", "Fourth", "Fourth"});
    struct Case {
        const char* what;
        std::function<void(BankDialogTest&)> act;
        QStringList set;
        int setSelection;
        QStringList bank;
        int bankSelection;
    };
    const QStringList original{"First ", "Second ", "Third "};
    const std::vector<Case> cases = {
        {"Copy Current three times",
         [](auto& t) {
             t.chooseFrom(1133, 1);
             for (int i = 0; i < 3; ++i)
                 t.click(1135);
         },
         original,
         1,
         {"Second ", "Second ", "Second "},
         2},
        {"Copy All, then Delete Current",
         [](auto& t) {
             t.click(1136);
             t.chooseFrom(1134, 1);
             t.click(1137);
         },
         original,
         0,
         {"First ", "Third "},
         0},
        {"Delete Current with nothing selected",
         [](auto& t) { t.click(1137); },
         original,
         0,
         {},
         -1},
        {"Delete All",
         [](auto& t) {
             t.click(1136);
             t.click(1145);
         },
         original,
         0,
         {},
         -1},
        {"Add Bank appends even duplicates",
         [](auto& t) {
             t.click(1135);
             t.chooseFrom(1133, 2);
             t.click(1139);
         },
         {"First ", "Second ", "Third ", "First "},
         0,
         {"First "},
         0},
        {"Merge Bank takes only new names, once",
         [&fourth](auto& t) {
             t.loadBankFile(fourth);
             t.chooseFrom(1133, 2);
             t.click(1140);
         },
         {"First ", "Second ", "Third ", "Fourth "},
         0,
         {"Second ", "Fourth ", "Fourth "},
         0},
        {"Merge Bank adding nothing leaves the list and its selection",
         [](auto& t) {
             t.click(1135);
             t.chooseFrom(1133, 2);
             t.click(1140);
         },
         original,
         2,
         {"First "},
         0},
        {"Merge and Replace with an empty bank do nothing",
         [](auto& t) {
             t.chooseFrom(1133, 1);
             t.click(1140);
             t.click(1141);
         },
         original,
         1,
         {},
         -1},
        {"Replace By Bank",
         [](auto& t) {
             t.chooseFrom(1133, 2);
             t.click(1135);
             t.click(1141);
         },
         {"Third "},
         0,
         {"Third "},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        c.act(*this);
        EXPECT_EQ(entries(1133), c.set);
        EXPECT_EQ(namesOf(dialog->set()), c.set);
        EXPECT_EQ(selected(1133), c.setSelection);
        EXPECT_EQ(entries(1134), c.bank);
        EXPECT_EQ(namesOf(dialog->bank()), c.bank);
        EXPECT_EQ(selected(1134), c.bankSelection);
        EXPECT_EQ(dialog->setPreview()->pattern(), *dialog->set().patternAt(c.setSelection));
        if (const Pattern* shown = dialog->bank().patternAt(c.bankSelection)) {
            EXPECT_EQ(dialog->bankPreview()->pattern(), *shown);
        } else {
            EXPECT_EQ(dialog->bankPreview()->pattern().amount[0], 0);
        }
        EXPECT_EQ(namesOf(world.store), original) << "the application's set is not touched";
    }
}

TEST_F(BankDialogTest, BanksGoToFilesAndComeBack) {
    const fs::path saved = folder.path() / "saved.pat";
    click(1136);
    answerFile(folder.path() / "saved"); // the suffix is added
    click(1143);
    EXPECT_EQ(seen.title, "Save Bank");
    EXPECT_EQ(seen.mode, QFileDialog::AcceptSave);
    EXPECT_EQ(seen.folder, "/tmp");
    EXPECT_EQ(seen.filters, (QStringList{"Pattern Files (*.pat)", "All Files (*)"}));
    EXPECT_EQ(seen.suffix, "pat");
    EXPECT_TRUE(seen.confirmsOverwrite);
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_EQ(fs::file_size(saved), storeFileBytes(3));
    EXPECT_EQ(world.patternPath.toStdString(), folder.slashed());

    // Cancelled: nothing changes, the folder is kept.
    world.patternPath = "/tmp/";
    answerFile(std::nullopt);
    click(1142);
    EXPECT_EQ(seen.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(seen.title, "Load Bank");
    EXPECT_EQ(entries(1134).size(), 3);
    EXPECT_EQ(world.patternPath, "/tmp/");

    click(1145);
    loadBankFile(saved);
    EXPECT_EQ(seen.filters, (QStringList{"Pattern Files (*.pat)", "All Files (*)"}));
    EXPECT_EQ(entries(1134), (QStringList{"First ", "Second ", "Third "}));
    EXPECT_EQ(selected(1134), 0);
    EXPECT_EQ(dialog->bankPreview()->pattern(), *world.store.patternAt(0));
    EXPECT_EQ(world.patternPath.toStdString(), folder.slashed());
    answerFile(std::nullopt);
    click(1143);
    EXPECT_EQ(seen.folder.toStdString() + "/", folder.slashed()) << "the next dialog starts there";
}

TEST_F(BankDialogTest, RefusedBankFilesEmptyTheBankAndSayWhy) {
    const std::string good = bytesOf(writeBank(folder.path() / "good.pat", {"A", "B"}));
    const struct {
        const char* name;
        std::string bytes;
        const char* text;
    } cases[] = {
        {"notes.txt", "Just some notes.\n", "Sorry, that's not a Lumivane pattern file!"},
        {"later.pat", "\x93\xFA\xC6\x08" + good.substr(4),
         "Sorry, that looks like a pattern bank saved by a later version of Lumivane.  You need "
         "to upgrade to the latest version!"},
        {"short.pat", good.substr(0, 500), "File error!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(folder.path() / c.name, std::ios::binary) << c.bytes;
        click(1136); // something to lose
        world.runner.shown.clear();
        answerFile(folder.path() / c.name);
        world.runner.thenButton(QMessageBox::Ok);
        click(1142);
        ASSERT_EQ(world.runner.shown.size(), 2u);
        EXPECT_EQ(world.runner.shown[1].title, "Invalid Pattern File");
        EXPECT_EQ(world.runner.shown[1].icon, QMessageBox::Information);
        EXPECT_EQ(lastText().toStdString(), c.text);
        EXPECT_TRUE(entries(1134).isEmpty());
        EXPECT_EQ(dialog->bank().count(), 0);
        EXPECT_EQ(dialog->bankPreview()->pattern().amount[1], 0);
    }
}

// A save that fails says so and leaves a bank already at that name as it was.
TEST_F(BankDialogTest, AFailedSaveIsReportedAndKeepsTheOldBank) {
    const fs::path old = folder.path() / "old.pat";
    writeBank(old, {"Old"});
    const fs::path plainFile = folder.path() / "plain";
    std::ofstream(plainFile) << "a file, not a folder";
    fs::create_directory(folder.path() / "taken.pat");
    const struct {
        const char* what;
        fs::path target;
        bool diskFull;
    } cases[] = {
        {"its folder is a regular file", plainFile / "bank.pat", false},
        {"a folder has its name", folder.path() / "taken.pat", false},
        {"the disk is full", old, true},
    };
    click(1136);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = bytesOf(old);
        world.runner.shown.clear();
        answerFile(c.target);
        world.runner.thenButton(QMessageBox::Ok);
        {
            std::optional<lumivane::testing::FileSizeLimit> limit;
            if (c.diskFull)
                limit.emplace(600);
            click(1143);
        }
        ASSERT_EQ(world.runner.shown.size(), 2u);
        EXPECT_EQ(world.runner.shown[1].title, "Save Bank");
        EXPECT_EQ(world.runner.shown[1].icon, QMessageBox::Information);
        EXPECT_TRUE(lastText().startsWith("The bank could not be saved: "))
            << lastText().toStdString();
        EXPECT_EQ(bytesOf(old), before);
        EXPECT_TRUE(fs::is_directory(folder.path() / "taken.pat"));
    }
    DataStore kept;
    EXPECT_EQ(loadBank(old.string(), kept), "");
    EXPECT_EQ(namesOf(kept), QStringList{"Old "});
}

// Both previews pause around every action and modal; only the checked ones
// run again, and a paused one still shows a newly chosen pattern.
TEST_F(BankDialogTest, OnlyCheckedPreviewsResumeAndPausedOnesShowTheirNewPattern) {
    KaleidoView* set = dialog->setPreview();
    KaleidoView* bank = dialog->bankPreview();
    click(1149);
    EXPECT_FALSE(set->isPaused());
    EXPECT_TRUE(bank->isPaused());

    std::pair<bool, bool> pausedWhileUp;
    world.runner.then([&](QDialog&) {
        pausedWhileUp = {set->isPaused(), bank->isPaused()};
        return int(QDialog::Rejected);
    });
    click(1143);
    EXPECT_EQ(pausedWhileUp, std::pair(true, true));
    EXPECT_FALSE(set->isPaused());
    EXPECT_TRUE(bank->isPaused());

    const long long frames = bank->framesDrawn();
    chooseFrom(1133, 2);
    click(1135);
    EXPECT_EQ(bank->pattern(), *world.store.patternAt(2));
    EXPECT_GT(bank->framesDrawn(), frames) << "the new pattern's first frame";
    EXPECT_TRUE(bank->isPaused());
    const long long still = bank->framesDrawn();
    QTest::qWait(120);
    EXPECT_EQ(bank->framesDrawn(), still);

    click(1149);
    click(1148);
    EXPECT_TRUE(set->isPaused());
    EXPECT_FALSE(bank->isPaused());
}

// A control of each kind explains itself instead of acting.
TEST_F(BankDialogTest, QuickHelpExplainsInsteadOfActing) {
    const std::vector<std::pair<int, std::function<void(BankDialogTest&)>>> cases = {
        {1135, [](auto& t) { t.click(1135); }},
        {1141, [](auto& t) { t.click(1141); }},
        {1149, [](auto& t) { t.click(1149); }},
        {1133,
         [](auto& t) {
             t.template control<DropDownList>(1133)->hidePopup();
             settle();
         }},
        {1117, [](auto& t) { t.click(1117); }},
    };
    for (const auto& [id, operate] : cases) {
        SCOPED_TRACE(id);
        restart();
        click(1117);
        ASSERT_TRUE(dialog->quickHelpActive());
        world.runner.thenButton(QMessageBox::Ok);
        operate(*this);
        ASSERT_EQ(world.runner.shown.size(), 1u);
        EXPECT_EQ(world.runner.shown[0].title, "Lumivane Help");
        EXPECT_EQ(world.runner.shown[0].icon, QMessageBox::Information);
        EXPECT_EQ(lastText(), BankDialog::helpText(id));
        EXPECT_FALSE(lastText().isEmpty());
        EXPECT_FALSE(dialog->quickHelpActive());
        EXPECT_TRUE(entries(1134).isEmpty());
        EXPECT_TRUE(control<QCheckBox>(1149)->isChecked());
        EXPECT_FALSE(dialog->bankPreview()->isPaused());
    }
    EXPECT_EQ(BankDialog::helpText(1141).toStdString(),
              "Replace the current pattern set with the    \n"
              "contents of the bank.  Warning - Patterns    \n"
              "in the current set will be lost!  If you do this    \n"
              "by mistake, quit the dialog with 'Cancel'");
}

// The main dialog takes the set copy over after OK only.
TEST_F(BankDialogTest, TheMainDialogTakesTheSetOverOnlyAfterOk) {
    dialog.reset();
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        world = DialogWorld();
        ConfigDialog main(world.context());
        main.show();
        settle();
        auto* list = main.findChild<DropDownList*>("id1109");
        list->setCurrentIndex(1);
        emit list->activated(1);
        world.runner.then([ok](QDialog& shown) {
            auto& banks = dynamic_cast<BankDialog&>(shown);
            banks.show();
            auto* setList = banks.findChild<DropDownList*>("id1133");
            setList->setCurrentIndex(2);
            emit setList->activated(2);
            banks.findChild<QPushButton*>("id1135")->click();
            setList->setCurrentIndex(1);
            emit setList->activated(1);
            banks.findChild<QPushButton*>("id1135")->click();
            banks.findChild<QPushButton*>("id1141")->click();
            banks.findChild<QPushButton*>(ok ? "id1" : "id2")->click();
            return banks.result();
        });
        main.findChild<QPushButton*>("id1144")->click();
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->itemText(i);
        const QStringList expected =
            ok ? QStringList{"Third ", "Second "} : QStringList{"First ", "Second ", "Third "};
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(namesOf(world.store), expected);
        EXPECT_EQ(list->currentIndex(), ok ? 0 : 1);
        EXPECT_EQ(world.store.currentIndex, ok ? 0 : 1);
        if (ok) {
            EXPECT_EQ(main.workingPattern(), *world.store.patternAt(0));
            EXPECT_EQ(main.findChild<QSlider*>("id1106")->value(), 30);
            EXPECT_EQ(main.preview()->pattern(), main.workingPattern());
        }
        EXPECT_FALSE(main.preview()->isPaused());
    }
}

} // namespace
} // namespace lumivane::test
