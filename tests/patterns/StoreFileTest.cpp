#include "patterns/StoreFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace lumivane;
namespace fs = std::filesystem;

namespace {

class StoreFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("lumivane-storefile-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const char* name) const { return (dir_ / name).string(); }

    static DataStore storeNamed(const char* name) {
        DataStore s;
        Pattern p;
        p.setNameText(name);
        s.addPattern(p);
        return s;
    }

    fs::path dir_;
};

} // namespace

TEST_F(StoreFileTest, SaveThenLoadGivesTheSamePatterns) {
    const std::string file = path("Lumivane.dat");
    saveStoreFile(file, storeNamed("Saved "));
    EXPECT_EQ(fs::file_size(file), storeFileBytes(1));
    DataStore loaded;
    loadStoreFile(file, loaded);
    ASSERT_EQ(loaded.count(), 1);
    EXPECT_EQ(loaded.patternAt(0)->nameText(), "Saved ");
    EXPECT_FALSE(fs::exists(file + ".tmp"));
}

TEST_F(StoreFileTest, MissingFileIsAFileError) {
    DataStore s;
    EXPECT_THROW(loadStoreFile(path("absent.dat"), s), StoreFileError);
    EXPECT_THROW(saveStoreFile(path("no/such/folder/x.dat"), s), StoreFileError);
}

TEST_F(StoreFileTest, FailedSaveLeavesThePreviousFileIntact) {
    const std::string file = path("Lumivane.dat");
    saveStoreFile(file, storeNamed("Old "));
    // A folder in the temporary file's place makes the save fail before the
    // old file is touched, even for a user who may write everywhere.
    fs::create_directory(file + ".tmp");
    EXPECT_THROW(saveStoreFile(file, storeNamed("New ")), StoreFileError);
    DataStore loaded;
    loadStoreFile(file, loaded);
    EXPECT_EQ(loaded.patternAt(0)->nameText(), "Old ");
}

TEST_F(StoreFileTest, TextFileIsRefusedAsNotAStore) {
    const std::string file = path("notes.txt");
    std::ofstream(file) << "Just some text, not patterns.\n";
    DataStore s = storeNamed("Kept ");
    loadStoreFile(file, s);
    EXPECT_EQ(s.loadStatus(), LOAD_NOT_A_STORE);
    EXPECT_EQ(s.patternAt(0)->nameText(), "Kept ");
}
