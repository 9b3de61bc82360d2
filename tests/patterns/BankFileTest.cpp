#include "patterns/BankFile.h"
#include "patterns/StoreFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

using namespace lumivane;
namespace fs = std::filesystem;

namespace {

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::int32_t wordAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t word = 0;
    for (int i = 3; i >= 0; --i)
        word = word << 8 | static_cast<std::uint8_t>(bytes[offset + i]);
    return static_cast<std::int32_t>(word);
}

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

struct BankFileTest : ::testing::Test {
    fs::path file(const char* name) const { return dir / name; }
    const fs::path dir = fs::temp_directory_path() /
                         ("lumivane-bankfile-" + std::to_string(::getpid()) + "-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
};

} // namespace

// Written and read again, a bank is the same byte for byte; a data file (with
// words of its own) loads as a bank and saves back as it was.
TEST_F(BankFileTest, BanksRoundTripByteForByte) {
    DataStore data = assembledBank(4);
    data.current.setNameText("Working ");
    data.customColours[3] = 0xABCDEF;
    data.currentIndex = 2;
    data.noTabMarks = 1;
    data.fullScreenMode = FULLSCREEN_CYCLE;
    const std::pair<const char*, DataStore> cases[] = {
        {"empty.pat", assembledBank(0)}, {"three.pat", assembledBank(3)}, {"Lumivane.dat", data}};
    for (const auto& [name, bank] : cases) {
        SCOPED_TRACE(name);
        saveStoreFile(file(name).string(), bank);
        const std::string written = bytesOf(file(name));
        ASSERT_EQ(written.size(), storeFileBytes(bank.count())); // 492 bytes when empty
        DataStore loaded = assembledBank(2);                     // whatever the bank held is gone
        EXPECT_EQ(loadBank(file(name).string(), loaded), "");
        ASSERT_EQ(loaded.count(), bank.count());
        for (int i = 0; i < bank.count(); ++i)
            EXPECT_EQ(*loaded.patternAt(i), *bank.patternAt(i)) << i;
        saveStoreFile(file("again.pat").string(), loaded);
        EXPECT_EQ(bytesOf(file("again.pat")), written);
    }
    // An assembled bank: the working pattern and preference words of a cleared
    // store (in file order), the index of the last pattern added.
    const std::string three = bytesOf(file("three.pat"));
    EXPECT_EQ(three.substr(8 + 348, 8), std::string("No Data\0", 8));
    const std::size_t trailer = 388 + 380 * 3 + 80;
    EXPECT_EQ(wordAt(three, trailer), 2);
    for (const auto& [offset, value] : {std::pair{4, 0}, {8, 1}, {12, 1}, {16, 1}})
        EXPECT_EQ(wordAt(three, trailer + offset), value) << offset;
}

TEST_F(BankFileTest, RefusedFilesLeaveTheBankEmptyWithTheirMessage) {
    saveStoreFile(file("good.pat").string(), assembledBank(2));
    const std::string good = bytesOf(file("good.pat"));
    const struct {
        const char* name;
        std::string bytes; // nothing written when empty
        const char* text;
    } cases[] = {
        {"notes.txt", "Just some notes.\n", NOT_A_STORE_TEXT},
        {"later.pat", "\x77\xFE\xC6\x08" + good.substr(4), LATER_VERSION_TEXT}, // 147258999
        {"short.pat", good.substr(0, good.size() - 1), STORE_FILE_ERROR_TEXT},
        {"absent.pat", "", STORE_FILE_ERROR_TEXT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty())
            std::ofstream(file(c.name), std::ios::binary) << c.bytes;
        DataStore bank = assembledBank(3);
        EXPECT_EQ(loadBank(file(c.name).string(), bank), c.text);
        EXPECT_EQ(bank.count(), 0);
    }
}
