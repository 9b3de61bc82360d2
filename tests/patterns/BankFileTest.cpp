#include "patterns/BankFile.h"
#include "patterns/StoreFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace lumivane;
namespace fs = std::filesystem;

namespace {

class BankFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("lumivane-bankfile-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const char* name) const { return (dir_ / name).string(); }
    static std::string bytesOf(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::int32_t wordAt(const std::string& bytes, std::size_t offset) {
        std::uint32_t word = 0;
        for (int i = 3; i >= 0; --i)
            word = word << 8 | static_cast<std::uint8_t>(bytes[offset + i]);
        return static_cast<std::int32_t>(word);
    }

    fs::path dir_;
};

// A bank as the banks dialog assembles one: a cleared store with patterns
// copied in.
DataStore assembledBank(int patterns) {
    DataStore bank;
    bank.clear();
    for (int i = 0; i < patterns; ++i) {
        Pattern pattern;
        pattern.setNameText("Bank pattern " + std::to_string(i) + " ");
        pattern.symmetry = 3 + i;
        pattern.layers[i % 3].colour[1] = 0x123456u * (i + 1);
        bank.addPattern(pattern);
    }
    return bank;
}

} // namespace

TEST_F(BankFileTest, BanksRoundTripByteForByte) {
    for (const int n : {0, 1, 3}) {
        SCOPED_TRACE(n);
        const DataStore bank = assembledBank(n);
        saveStoreFile(path("bank.pat"), bank);
        const std::string written = bytesOf(path("bank.pat"));
        ASSERT_EQ(written.size(), storeFileBytes(n)); // 492 bytes for an empty bank

        // The working pattern of a cleared store, its preference words in file
        // order, and the index of the last pattern added.
        EXPECT_EQ(written.substr(8 + 348, 8), std::string("No Data\0", 8));
        const std::size_t trailer = 388 + 380 * n + 80;
        EXPECT_EQ(wordAt(written, trailer), n > 0 ? n - 1 : 0);
        for (const auto& [offset, value] : {std::pair{4, 0}, {8, 1}, {12, 1}, {16, 1}})
            EXPECT_EQ(wordAt(written, trailer + offset), value) << offset;

        DataStore loaded = assembledBank(2); // whatever the bank held is gone
        EXPECT_EQ(loadBank(path("bank.pat"), loaded), "");
        ASSERT_EQ(loaded.count(), n);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(*loaded.patternAt(i), *bank.patternAt(i)) << i;
        saveStoreFile(path("again.pat"), loaded);
        EXPECT_EQ(bytesOf(path("again.pat")), written);
    }
}

// Any data file is a bank: its patterns load, and saved again it keeps the
// words it was loaded with.
TEST_F(BankFileTest, TheDataFileLoadsAsABank) {
    DataStore data = assembledBank(4);
    data.current.setNameText("Working ");
    data.customColours[3] = 0xABCDEF;
    data.reserved[1] = -7;
    data.currentIndex = 2;
    data.noTabMarks = 1;
    data.politeMode = 0;
    data.fullScreenMode = FULLSCREEN_CYCLE;
    saveStoreFile(path("Lumivane.dat"), data);

    DataStore bank;
    bank.clear();
    EXPECT_EQ(loadBank(path("Lumivane.dat"), bank), "");
    EXPECT_EQ(bank.count(), 4);
    saveStoreFile(path("copy.pat"), bank);
    EXPECT_EQ(bytesOf(path("copy.pat")), bytesOf(path("Lumivane.dat")));
}

TEST_F(BankFileTest, RefusedFilesLeaveTheBankEmptyWithTheirMessage) {
    saveStoreFile(path("good.pat"), assembledBank(2));
    const std::string good = bytesOf(path("good.pat"));
    const struct {
        const char* what;
        std::string bytes; // nothing written when empty
        const char* name;
        const char* text;
    } cases[] = {
        {"a text file", "Just some notes.\n", "notes.txt", NOT_A_STORE_TEXT},
        {"a program",
         "\x7F"
         "ELF\x02\x01\x01",
         "program", NOT_A_STORE_TEXT},
        {"a later version", "\x93\xFA\xC6\x08" + good.substr(4), "later.pat", LATER_VERSION_TEXT},
        {"the last later version", "\x77\xFE\xC6\x08" + good.substr(4), "last.pat",
         LATER_VERSION_TEXT},
        {"a short file", good.substr(0, good.size() - 1), "short.pat", STORE_FILE_ERROR_TEXT},
        {"a missing file", "", "absent.pat", STORE_FILE_ERROR_TEXT},
        {"a folder", "", "", STORE_FILE_ERROR_TEXT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.bytes.empty())
            std::ofstream(path(c.name), std::ios::binary) << c.bytes;
        DataStore bank = assembledBank(3);
        EXPECT_EQ(loadBank(path(c.name), bank), c.text);
        EXPECT_EQ(bank.count(), 0);
    }
}
