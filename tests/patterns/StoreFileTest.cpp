#include "patterns/StoreFile.h"
#include "FileSizeLimit.h"
#include "StoreFileFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

using namespace lumivane;
namespace fs = std::filesystem;

namespace {

class StoreFileTest : public lumivane::testing::StoreFileFolder {
  protected:
    std::string path(const char* name) const { return (dir_ / name).string(); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
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
    EXPECT_EQ(entries(), std::vector<std::string>{"Lumivane.dat"}); // no temporary left
}

TEST_F(StoreFileTest, MissingFileIsAFileError) {
    DataStore s;
    EXPECT_THROW(loadStoreFile(path("absent.dat"), s), StoreFileError);
    EXPECT_THROW(saveStoreFile(path("no/such/folder/x.dat"), s), StoreFileError);
}

TEST_F(StoreFileTest, FailedSaveLeavesThePreviousFileIntact) {
    const std::string file = path("Lumivane.dat");
    saveStoreFile(file, storeNamed("Old "));
    {
        const lumivane::testing::FileSizeLimit nearlyFull(100); // as on a full disk, root included
        EXPECT_THROW(saveStoreFile(file, storeNamed("New ")), StoreFileError);
    }
    DataStore loaded;
    loadStoreFile(file, loaded);
    EXPECT_EQ(loaded.patternAt(0)->nameText(), "Old ");
    EXPECT_EQ(entries(), std::vector<std::string>{"Lumivane.dat"});
}

// A link at a name next to the data file (the old fixed temporary name, the
// backup name) never redirects a save; a data file that is itself a link
// keeps being one, and the file it names is replaced in its own folder with
// its permission bits kept.
TEST_F(StoreFileTest, LinksAreFollowedOnlyForTheDataFileItself) {
    const fs::path data = dir_ / "Lumivane.dat";
    const fs::path victim = dir_ / "victim";
    const std::vector<std::uint8_t> bytes(storeFileBytes(2), 7);
    const auto victimUntouched = [&] {
        std::ifstream in(victim);
        return std::string(std::istreambuf_iterator<char>(in), {}) == "precious";
    };

    saveStoreFile(data.string(), storeNamed("Old "));
    std::ofstream(victim) << "precious";
    fs::create_symlink(victim, dir_ / "Lumivane.dat.tmp");
    saveStoreFile(data.string(), storeNamed("New "));
    EXPECT_TRUE(victimUntouched());
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(data)));

    fs::create_symlink(victim, dir_ / "Lumivane.dat.bak");
    replaceFile((dir_ / "Lumivane.dat.bak").string(), bytes, LinkHandling::ReplaceLink);
    EXPECT_TRUE(victimUntouched());
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir_ / "Lumivane.dat.bak")));
    EXPECT_EQ(fs::file_size(dir_ / "Lumivane.dat.bak"), bytes.size());

    // Relative, through a second link, and dangling: the link stays, the target is written.
    fs::create_directories(dir_ / "real");
    saveStoreFile((dir_ / "real" / "target.dat").string(), storeNamed("Old "));
    fs::permissions(dir_ / "real" / "target.dat",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/link.dat", dir_ / "linked.dat");
    fs::create_symlink("target.dat", dir_ / "real" / "link.dat");
    fs::create_symlink("real/later.dat", dir_ / "dangling.dat");
    for (const char* name : {"linked.dat", "dangling.dat"}) {
        SCOPED_TRACE(name);
        saveStoreFile((dir_ / name).string(), storeNamed("New "));
        EXPECT_TRUE(fs::is_symlink(dir_ / name));
        DataStore loaded;
        loadStoreFile((dir_ / name).string(), loaded);
        EXPECT_EQ(loaded.patternAt(0)->nameText(), "New ");
    }
    EXPECT_TRUE(fs::is_symlink(dir_ / "real" / "link.dat"));
    EXPECT_EQ(fs::status(dir_ / "real" / "target.dat").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir_ / "real" / "later.dat")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "real"), {}), 3); // no temporaries
}

// Two processes saving at once: a reader always finds a whole file, one
// process's save never spoils the other's, and no temporary is left.
TEST_F(StoreFileTest, ConcurrentSavesNeverShowAReaderAPartialFile) {
    const std::string file = path("Lumivane.dat");
    saveStoreFile(file, storeNamed("First "));
    constexpr int SAVES = 100;
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            DataStore store = storeNamed(w == 0 ? "One " : "Two ");
            for (int extra = 0; extra < 2 * w; ++extra)
                store.addPattern(Pattern{});
            int failures = 0;
            for (int i = 0; i < SAVES; ++i) {
                try {
                    saveStoreFile(file, store);
                } catch (const StoreFileError&) {
                    ++failures;
                }
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    int reads = 0, spoiled = 0, running = 2;
    int statuses[2] = {-1, -1};
    while (running > 0) {
        DataStore loaded;
        try {
            loadStoreFile(file, loaded);
            if (loaded.loadStatus() != LOAD_OK || (loaded.count() != 1 && loaded.count() != 3))
                ++spoiled;
        } catch (const StoreFileError&) {
            ++spoiled;
        }
        ++reads;
        for (int w = 0; w < 2; ++w) {
            if (statuses[w] == -1 && ::waitpid(writers[w], &statuses[w], WNOHANG) == writers[w])
                --running;
        }
    }
    EXPECT_EQ(spoiled, 0) << "of " << reads << " reads";
    for (const int status : statuses)
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(entries(), std::vector<std::string>{"Lumivane.dat"});
}

TEST_F(StoreFileTest, TextFileIsRefusedAsNotAStore) {
    const std::string file = path("notes.txt");
    std::ofstream(file) << "Just some text, not patterns.\n";
    DataStore s = storeNamed("Kept ");
    loadStoreFile(file, s);
    EXPECT_EQ(s.loadStatus(), LOAD_NOT_A_STORE);
    EXPECT_EQ(s.patternAt(0)->nameText(), "Kept ");
}
