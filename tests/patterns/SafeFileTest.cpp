#include "patterns/SafeFile.h"
#include "StoreFileFolder.h"
#include "patterns/StoreFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace lumivane;
namespace fs = std::filesystem;

namespace {

class SafeFileTest : public lumivane::testing::StoreFileFolder {
  protected:
    static std::string text(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

} // namespace

// A FIFO, a device, a folder or a link to one of them where a store file
// should be: never waited on when read, never replaced when saved. (The
// device is made in the test's own folder: the null device's numbers.)
TEST_F(SafeFileTest, NodesAreNeitherWaitedOnNorReplaced) {
    ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::mknod((dir_ / "device").c_str(), S_IFCHR | 0600, ::makedev(1, 3)), 0);
    }
    fs::create_directory(dir_ / "folder");
    fs::create_symlink("fifo", dir_ / "link-to-fifo");
    for (const char* name : {"fifo", "device", "folder", "link-to-fifo"}) {
        if (!fs::exists(fs::symlink_status(dir_ / name)))
            continue;
        SCOPED_TRACE(name);
        const fs::file_type before = fs::status(dir_ / name).type();
        DataStore store;
        ::alarm(10); // a read that waited on the FIFO would end the test here
        EXPECT_THROW(loadStoreFile((dir_ / name).string(), store), StoreFileError);
        ::alarm(0);
        try {
            saveStoreFile((dir_ / name).string(), storeNamed("New "));
            ADD_FAILURE() << "saved over it";
        } catch (const StoreFileError& error) {
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
        }
        EXPECT_EQ(fs::status(dir_ / name).type(), before);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), root ? 4 : 3) << "no temporaries";
}

// The kernel's protected_symlinks rule, whatever the machine's setting: in a
// sticky folder everybody may write to, a save follows only a link of the
// user or of the folder's owner, whether the link is the file's own name or a
// folder on the way to it; elsewhere any link. A link planted after the file
// was read is never followed.
TEST_F(SafeFileTest, LinksAreFollowedOnlyWhereNobodyElseCouldHavePlantedThem) {
    const fs::path victims = dir_ / "victims";
    fs::create_directory(victims);
    const fs::path victim = victims / "Lumivane.dat";
    bool asFolder = false;
    const auto saveThrough = [&](const fs::path& folder, uid_t linkOwner) {
        std::ofstream(victim) << "precious";
        const fs::path link = folder / (asFolder ? "d" : "Lumivane.dat");
        fs::remove(link);
        fs::create_symlink(asFolder ? victims : victim, link);
        EXPECT_EQ(::lchown(link.c_str(), linkOwner, static_cast<gid_t>(-1)), 0);
        bool saved = true;
        try {
            saveStoreFile((asFolder ? link / "Lumivane.dat" : link).string(), storeNamed("New "));
        } catch (const StoreFileError&) {
            saved = false;
        }
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(text(victim) != "precious", saved);
        return saved;
    };
    const uid_t me = ::geteuid();
    for (const bool folderLink : {false, true}) {
        SCOPED_TRACE(folderLink ? "a link to a folder" : "a link to the file");
        asFolder = folderLink;
        const fs::path shared = dir_ / (folderLink ? "shared-folders" : "shared");
        fs::create_directory(shared);
        fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
        EXPECT_TRUE(saveThrough(shared, me));
        if (me != 0) {
            std::cout << "[  SKIPPED ] links of other users need root\n";
            continue;
        }
        constexpr uid_t OTHER = 4242, OWNER = 4343;
        EXPECT_FALSE(saveThrough(shared, OTHER));
        ASSERT_EQ(::chown(shared.c_str(), OWNER, OWNER), 0);
        EXPECT_TRUE(saveThrough(shared, OWNER));
        EXPECT_FALSE(saveThrough(shared, OTHER));
        fs::permissions(shared, fs::perms::others_write, fs::perm_options::remove);
        EXPECT_TRUE(saveThrough(shared, OTHER)); // not writable by everybody
    }

    // Read as a regular file, then replaced by a link before the save.
    const fs::path data = dir_ / "Lumivane.dat";
    saveStoreFile(data.string(), storeNamed("Old "));
    FileSeen seen;
    DataStore read;
    loadStoreFile(data.string(), read, &seen);
    std::ofstream(victim) << "precious";
    fs::remove(data);
    fs::create_symlink(victim, data);
    EXPECT_THROW(saveStoreFile(data.string(), read, &seen), StoreFileError);
    EXPECT_EQ(text(victim), "precious");
    // A link that was there when the file was read is followed.
    loadStoreFile(data.string(), read, &seen);
    EXPECT_NO_THROW(saveStoreFile(data.string(), storeNamed("New "), &seen));
    EXPECT_NE(text(victim), "precious");
}

// Names up to the longest a folder takes get their temporary; temporaries of
// this name's pattern that a killed save left are removed once a minute old.
TEST_F(SafeFileTest, LongNamesSaveAndStaleTemporariesGo) {
    for (const std::size_t length : {244, 245, 250, 255}) {
        const fs::path file = dir_ / (std::string(length - 4, 'n') + ".pat");
        EXPECT_NO_THROW(saveStoreFile(file.string(), storeNamed("Long "))) << length;
        EXPECT_TRUE(fs::is_regular_file(file)) << length;
        fs::remove(file);
    }
    EXPECT_TRUE(fs::is_empty(dir_));

    // A folder is looked through at the first save into it.
    const fs::path folder = dir_ / "killed";
    fs::create_directory(folder);
    const auto leave = [&](const char* name, int ageSeconds) {
        std::ofstream(folder / name) << "left by a killed save";
        const timespec times[2] = {{::time(nullptr) - ageSeconds, 0},
                                   {::time(nullptr) - ageSeconds, 0}};
        ::utimensat(AT_FDCWD, (folder / name).c_str(), times, 0);
    };
    leave("Lumivane.dat.tmp-aB3xY9", 120);  // stale: removed
    leave("Lumivane.dat.tmp-Qw12Er", 5);    // a save that may still run
    leave("Lumivane.dat.tmp-short", 120);   // not our pattern
    leave("Other.dat.tmp-aB3xY9", 120);     // another file's
    leave("Lumivane.dat.tmp-aB3xY9~", 120); // not our pattern
    saveStoreFile((folder / "Lumivane.dat").string(), storeNamed("Kept "));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Lumivane.dat", "Lumivane.dat.tmp-Qw12Er",
                                               "Lumivane.dat.tmp-aB3xY9~", "Lumivane.dat.tmp-short",
                                               "Other.dat.tmp-aB3xY9"}));
}

// One limit for writers and readers: what is written can be read back, and
// one pattern more is refused before anything is written.
TEST_F(SafeFileTest, EveryFileWrittenCanBeReadBack) {
    const fs::path file = dir_ / "big.pat";
    DataStore store;
    for (std::int32_t i = 0; i < MAX_STORED_PATTERNS; ++i)
        store.addPattern(Pattern{});
    {
        std::vector<std::uint8_t> image = storeFileImage(store);
        EXPECT_EQ(image.size(), MAX_STORE_FILE_BYTES); // what readRegularFile takes at most
        Archive archive = Archive::forLoading(std::move(image));
        DataStore read;
        read.serialize(archive);
        EXPECT_EQ(read.count(), MAX_STORED_PATTERNS);
    }
    store.addPattern(Pattern{});
    EXPECT_THROW(saveStoreFile(file.string(), store), StoreFileError);
    EXPECT_TRUE(fs::is_empty(dir_));
    store.deleteAll();

    // An older-format file holds one pattern more in 64 MiB: refused as well.
    std::vector<std::uint8_t> older(488 + 376 * std::size_t(MAX_STORED_PATTERNS + 1));
    const std::uint32_t words[2] = {STORE_TAG_OLDER, MAX_STORED_PATTERNS + 1};
    std::memcpy(older.data(), words, sizeof words);
    Archive archive = Archive::forLoading(std::move(older));
    DataStore read;
    EXPECT_THROW(read.serialize(archive), StoreFileError);
}
