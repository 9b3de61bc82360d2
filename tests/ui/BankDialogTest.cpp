#include "DialogTestSupport.h"
#include "ShownValues.h"

#include "../app/TestFolders.h"
#include "patterns/StoreFile.h"
#include "ui/BankDialog.h"
#include "ui/ConfigDialog.h"
#include "ui/DropDownList.h"
#include "view/KaleidoView.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace lumivane::test {
namespace {

namespace fs = std::filesystem;

QStringList namesOf(const DataStore& store) {
    QStringList names;
    for (int i = 0; i < store.count(); ++i)
        names << QString::fromStdString(store.patternAt(i)->nameText());
    return names;
}

template <typename Control = QWidget> Control* control(QWidget* dialog, int id) {
    return controlOf<Control>(dialog, id);
}

void chooseFrom(QWidget* dialog, int id, int index) {
    auto* list = control<DropDownList>(dialog, id);
    list->setCurrentIndex(index);
    emit list->activated(index);
    settle();
}

class BankDialogTest : public ::testing::Test {
  public:
    void SetUp() override { open(); }
    void TearDown() override { EXPECT_TRUE(world.runner.answers.empty()) << "answers left unused"; }

    void open() {
        dialog.reset();
        world = DialogWorld();
        dialog = std::make_unique<BankDialog>(world.context(), world.store);
        dialog->show();
        settle();
    }
    void click(int id) { control<QAbstractButton>(dialog.get(), id)->click(); }
    void choose(int id, int index) { chooseFrom(dialog.get(), id, index); }
    QStringList entries(int id) { return entriesOf(control<DropDownList>(dialog.get(), id)); }
    int selected(int id) { return control<DropDownList>(dialog.get(), id)->currentIndex(); }
    const ScriptedRunner::Shown& lastShown() const { return world.runner.shown.back(); }

    // The next file dialog chooses file, or is cancelled; what it was opened
    // with goes into the members below.
    void answerFile(std::optional<fs::path> file) {
        world.runner.then([this, file](QDialog& shown) {
            auto& chooser = dynamic_cast<QFileDialog&>(shown);
            startFolder = chooser.directory().absolutePath().toStdString() + '/';
            saving = chooser.acceptMode() == QFileDialog::AcceptSave;
            EXPECT_EQ(chooser.nameFilters(),
                      (QStringList{"Pattern Files (*.pat)", "All Files (*)"}));
            EXPECT_EQ(chooser.defaultSuffix(), "pat");
            EXPECT_FALSE(chooser.testOption(QFileDialog::DontConfirmOverwrite));
            if (!file)
                return int(QDialog::Rejected);
            chooser.selectFile(QString::fromStdString(file->string()));
            shown.done(QDialog::Accepted);
            return shown.result();
        });
    }
    void loadBank(const fs::path& file) {
        answerFile(file);
        click(1142);
    }

    DialogWorld world;
    std::unique_ptr<BankDialog> dialog;
    std::string startFolder;
    bool saving = false;
    lumivane::testing::TempFolder folder;
};

TEST_F(BankDialogTest, OpensWithTheSetOnTheLeftAndAnEmptyBlackBankOnTheRight) {
    EXPECT_EQ(dialog->windowTitle(), "Work with Pattern Banks");
    EXPECT_EQ(entries(1133), (QStringList{"First ", "Second ", "Third "}));
    EXPECT_EQ(selected(1133), 0);
    EXPECT_TRUE(entries(1134).isEmpty());
    EXPECT_EQ(dialog->setPreview()->pattern(), *world.store.patternAt(0));
    const Pattern& black = dialog->bankPreview()->pattern();
    EXPECT_EQ(black.amount[0] + black.amount[1] + black.amount[2] + int(black.backgroundColour), 0);
    EXPECT_NE(dialog->setPreview()->scene(), dialog->bankPreview()->scene());
    for (KaleidoView* preview : {dialog->setPreview(), dialog->bankPreview()}) {
        EXPECT_FALSE(preview->isPaused());
        EXPECT_TRUE(preview->isEditorPreview());
        EXPECT_NE(preview->scene(), world.mainScene.get());
    }
    // clang-format off
    const std::vector<std::tuple<int, const char*, const char*>> named = {
        {1135, "Copy Current", "Copy Current"}, {1136, "Copy All ", "Copy All"},
        {1137, "Delete Current", "Delete Current"}, {1145, "Delete All ", "Delete All"},
        {1142, "Load Bank", "Load Bank"}, {1143, "Save Bank", "Save Bank"},
        {1139, "Add Bank", "Add Bank"}, {1140, "Merge Bank", "Merge Bank"},
        {1141, "Replace By Bank", "Replace By Bank"}, {1, "OK", "OK"}, {2, "Cancel", "Cancel"},
        {1148, "Animate", "Animate set preview"}, {1149, "Animate", "Animate bank preview"}};
    // clang-format on
    for (const auto& [id, caption, accessible] : named) {
        EXPECT_EQ(control<QAbstractButton>(dialog.get(), id)->text().toStdString(), caption);
        EXPECT_EQ(control(dialog.get(), id)->accessibleName().toStdString(), accessible);
    }
    EXPECT_TRUE(control<QCheckBox>(dialog.get(), 1148)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(dialog.get(), 1149)->isChecked());
    for (const int id : {1133, 1134, 1146, 1147, 1117})
        EXPECT_FALSE(control(dialog.get(), id)->accessibleName().isEmpty()) << id;
}

// Each button's effect on the set copy and the bank, their lists and previews.
TEST_F(BankDialogTest, ButtonsChangeTheSetCopyAndTheBank) {
    const fs::path fourth = folder.path() / "fourth.pat";
    DataStore bankFile;
    for (const char* name : {"Second", "Fourth", "Fourth"})
        bankFile.addPattern(namedPattern(name, 60));
    saveStoreFile(fourth.string(), bankFile);
    // A click on id, or with an index the choice of that entry in list id;
    // 1142 loads the bank file above.
    struct Step {
        int id;
        int index = -1;
    };
    const QStringList original{"First ", "Second ", "Third "};
    const struct {
        const char* what;
        std::vector<Step> steps;
        QStringList set;
        int setSelection;
        QStringList bank;
        int bankSelection;
    } cases[] = {
        // clang-format off
        {"Copy Current three times", {{1133, 1}, {1135}, {1135}, {1135}},
         original, 1, {"Second ", "Second ", "Second "}, 2},
        {"Copy All, then Delete Current", {{1136}, {1134, 1}, {1137}},
         original, 0, {"First ", "Third "}, 0},
        {"Delete Current with nothing selected", {{1137}}, original, 0, {}, -1},
        {"Delete All", {{1136}, {1145}}, original, 0, {}, -1},
        {"Add Bank appends duplicates too", {{1135}, {1133, 2}, {1139}},
         {"First ", "Second ", "Third ", "First "}, 0, {"First "}, 0},
        {"Merge Bank takes only new names, once", {{1142}, {1133, 2}, {1140}},
         {"First ", "Second ", "Third ", "Fourth "}, 0, {"Second ", "Fourth ", "Fourth "}, 0},
        {"Merge Bank adding nothing keeps the list and its selection", {{1135}, {1133, 2}, {1140}},
         original, 2, {"First "}, 0},
        {"Merge and Replace with an empty bank do nothing", {{1133, 1}, {1140}, {1141}},
         original, 1, {}, -1},
        {"Replace By Bank", {{1133, 2}, {1135}, {1141}}, {"Third "}, 0, {"Third "}, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        open();
        for (const Step& step : c.steps) {
            if (step.id == 1142)
                answerFile(fourth);
            if (step.index >= 0)
                choose(step.id, step.index);
            else
                click(step.id);
        }
        EXPECT_EQ(entries(1133), c.set);
        EXPECT_EQ(namesOf(dialog->set()), c.set);
        EXPECT_EQ(selected(1133), c.setSelection);
        EXPECT_EQ(entries(1134), c.bank);
        EXPECT_EQ(namesOf(dialog->bank()), c.bank);
        EXPECT_EQ(selected(1134), c.bankSelection);
        EXPECT_EQ(dialog->setPreview()->pattern(), *dialog->set().patternAt(c.setSelection));
        const Pattern* shown = dialog->bank().patternAt(c.bankSelection);
        EXPECT_EQ(dialog->bankPreview()->pattern().amount[0], shown ? shown->amount[0] : 0);
        EXPECT_EQ(namesOf(world.store), original) << "the application's set is not touched";
    }
}

// Saving and loading through the file dialogs, the folder they start in, and
// what a refused file and a failed save show.
TEST_F(BankDialogTest, BanksGoToFilesAndComeBack) {
    click(1136);
    answerFile(folder.path() / "saved"); // the dialog adds the suffix
    click(1143);
    EXPECT_TRUE(saving);
    EXPECT_EQ(startFolder, "/tmp/");
    EXPECT_EQ(fs::file_size(folder.path() / "saved.pat"), storeFileBytes(3));
    EXPECT_EQ(world.patternPath.toStdString(), folder.slashed());

    world.patternPath = "/tmp/";
    answerFile(std::nullopt); // cancelled: nothing changes
    click(1142);
    EXPECT_FALSE(saving);
    EXPECT_EQ(entries(1134).size(), 3);
    EXPECT_EQ(world.patternPath, "/tmp/");

    click(1145);
    loadBank(folder.path() / "saved.pat");
    EXPECT_EQ(entries(1134), (QStringList{"First ", "Second ", "Third "}));
    EXPECT_EQ(selected(1134), 0);
    EXPECT_EQ(dialog->bankPreview()->pattern(), *world.store.patternAt(0));
    answerFile(std::nullopt);
    click(1143);
    EXPECT_EQ(startFolder, folder.slashed()) << "the next dialog starts where the last ended";

    std::ofstream(folder.path() / "notes.txt") << "Just some notes.\n";
    answerFile(folder.path() / "notes.txt");
    world.runner.thenButton(QMessageBox::Ok);
    click(1142);
    EXPECT_EQ(lastShown().title, "Invalid Pattern File");
    EXPECT_EQ(lastShown().text, "Sorry, that's not a Lumivane pattern file!");
    EXPECT_EQ(lastShown().icon, QMessageBox::Information);
    EXPECT_TRUE(entries(1134).isEmpty()) << "the bank's patterns are gone";
    EXPECT_EQ(dialog->bank().count(), 0);
    EXPECT_EQ(dialog->bankPreview()->pattern().amount[1], 0);

    // A folder that is a regular file, a folder at the file's name.
    std::ofstream(folder.path() / "plain") << "a file, not a folder";
    fs::create_directory(folder.path() / "taken.pat");
    click(1136);
    for (const fs::path& target :
         {folder.path() / "plain" / "bank.pat", folder.path() / "taken.pat"}) {
        answerFile(target);
        world.runner.thenButton(QMessageBox::Ok);
        click(1143);
        EXPECT_EQ(lastShown().title, "Save Bank");
        EXPECT_EQ(lastShown().icon, QMessageBox::Information);
        EXPECT_TRUE(lastShown().text.startsWith("The bank could not be saved: "))
            << lastShown().text.toStdString();
    }
    EXPECT_TRUE(fs::is_directory(folder.path() / "taken.pat"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 4) << "no temporaries";
}

// Both previews pause around every action and modal; only the checked ones
// run again, and a paused one still shows a newly chosen pattern.
TEST_F(BankDialogTest, OnlyCheckedPreviewsResumeAndPausedOnesShowTheirNewPattern) {
    KaleidoView* set = dialog->setPreview();
    KaleidoView* bank = dialog->bankPreview();
    click(1149);
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
    choose(1133, 2);
    click(1135);
    EXPECT_EQ(bank->pattern(), *world.store.patternAt(2));
    EXPECT_EQ(bank->framesDrawn(), frames + 1) << "the new pattern's first frame";
    QTest::qWait(120);
    EXPECT_EQ(bank->framesDrawn(), frames + 1);
    EXPECT_TRUE(bank->isPaused());
}

// A control of each kind explains itself instead of acting.
TEST_F(BankDialogTest, QuickHelpExplainsInsteadOfActing) {
    for (const int id : {1141, 1149, 1133, 1117}) {
        SCOPED_TRACE(id);
        open();
        click(1135);
        click(1117);
        world.runner.thenButton(QMessageBox::Ok);
        if (id == 1133) { // a list explains itself when it closes
            control<DropDownList>(dialog.get(), id)->hidePopup();
            settle();
        } else {
            click(id);
        }
        settle();
        ASSERT_EQ(world.runner.shown.size(), 1u);
        EXPECT_EQ(lastShown().title, "Lumivane Help");
        EXPECT_EQ(lastShown().icon, QMessageBox::Information);
        EXPECT_EQ(lastShown().text, BankDialog::helpText(id));
        EXPECT_FALSE(dialog->quickHelpActive());
        EXPECT_EQ(entries(1133).size(), 3);
        EXPECT_TRUE(control<QCheckBox>(dialog.get(), 1149)->isChecked());
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
        chooseFrom(&main, 1109, 1);
        world.runner.then([ok](QDialog& banks) {
            banks.show();
            for (const int index : {2, 1}) {
                chooseFrom(&banks, 1133, index);
                control<QPushButton>(&banks, 1135)->click();
            }
            control<QPushButton>(&banks, 1141)->click();
            control<QPushButton>(&banks, ok ? 1 : 2)->click();
            return banks.result();
        });
        control<QPushButton>(&main, 1144)->click();
        const QStringList expected =
            ok ? QStringList{"Third ", "Second "} : QStringList{"First ", "Second ", "Third "};
        EXPECT_EQ(entriesOf(control<DropDownList>(&main, 1109)), expected);
        EXPECT_EQ(namesOf(world.store), expected);
        EXPECT_EQ(control<DropDownList>(&main, 1109)->currentIndex(), ok ? 0 : 1);
        EXPECT_EQ(world.store.currentIndex, ok ? 0 : 1);
        EXPECT_EQ(main.workingPattern(), *world.store.patternAt(ok ? 0 : 1));
        EXPECT_EQ(main.preview()->pattern(), main.workingPattern());
        EXPECT_FALSE(main.preview()->isPaused());
    }
}

} // namespace
} // namespace lumivane::test
