#include "patterns/DataStore.h"
#include "patterns/PatternCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace lumivane;

namespace {

DataStore sampleStore(int n) {
    DataStore s;
    for (int i = 0; i < n; ++i) {
        Pattern p;
        p.symmetry = 3 + i;
        p.layers[i % 3].shape[1] = 10 + i;
        p.backgroundMode = i % 3;
        p.setNameText("Pattern " + std::to_string(i) + " ");
        s.addPattern(p);
    }
    s.current.setNameText("Working ");
    s.current.backgroundMode = BACKGROUND_RANDOM;
    for (int i = 0; i < CUSTOM_COLOUR_COUNT; ++i)
        s.customColours[i] = 0x010101u * i;
    for (int i = 0; i < RESERVED_WORD_COUNT; ++i)
        s.reserved[i] = -i * 1000;
    s.currentIndex = n > 1 ? 1 : 0;
    s.noTabMarks = 1;
    s.politeMode = 0;
    s.warnOnQuit = 1;
    s.enterKeepsDialog = 0;
    s.fullScreenMode = FULLSCREEN_CYCLE;
    return s;
}

std::vector<std::uint8_t> bytesOf(const DataStore& s) {
    Archive a = Archive::forStoring();
    const_cast<DataStore&>(s).serialize(a);
    return a.bytes();
}

void readInto(DataStore& s, std::vector<std::uint8_t> bytes) {
    Archive a = Archive::forLoading(std::move(bytes));
    s.serialize(a);
}

void putWord(std::vector<std::uint8_t>& b, std::size_t offset, std::uint32_t w) {
    for (int i = 0; i < 4; ++i)
        b[offset + i] = static_cast<std::uint8_t>(w >> (8 * i));
}

// An older-format file: same words, 376-byte records without backgroundMode.
std::vector<std::uint8_t> olderFile(std::uint32_t tag, const DataStore& s) {
    const auto current = bytesOf(s);
    std::vector<std::uint8_t> out;
    auto append = [&](std::size_t from, std::size_t n) {
        out.insert(out.end(), current.begin() + from, current.begin() + from + n);
    };
    append(0, 8);
    for (int r = 0; r <= s.count(); ++r)
        append(8 + PATTERN_BYTES * r, OLD_PATTERN_BYTES);
    append(8 + PATTERN_BYTES * (s.count() + 1), 104);
    putWord(out, 0, tag);
    return out;
}

} // namespace

TEST(StoreFormat, FileLengthIs492Plus380PerPattern) {
    for (int n : {0, 1, 2, 7}) {
        const auto b = bytesOf(sampleStore(n));
        EXPECT_EQ(b.size(), storeFileBytes(n));
        EXPECT_EQ(b[0], 0x92);
        EXPECT_EQ(b[1], 0xFA);
        EXPECT_EQ(b[2], 0xC6);
        EXPECT_EQ(b[3], 0x08);
    }
    EXPECT_EQ(bytesOf(sampleStore(1)).size(), 872u);
}

TEST(StoreFormat, TrailerWordsAreInFileOrder) {
    const auto b = bytesOf(sampleStore(2));
    const std::size_t t = 468 + 380 * 2;
    auto word = [&](std::size_t o) {
        return b[o] | b[o + 1] << 8 | b[o + 2] << 16 | std::uint32_t(b[o + 3]) << 24;
    };
    EXPECT_EQ(word(t), 1u);      // currentIndex
    EXPECT_EQ(word(t + 4), 1u);  // noTabMarks before politeMode
    EXPECT_EQ(word(t + 8), 0u);  // politeMode
    EXPECT_EQ(word(t + 12), 1u); // warnOnQuit
    EXPECT_EQ(word(t + 16), 0u); // enterKeepsDialog
    EXPECT_EQ(word(t + 20), 3u); // fullScreenMode
}

TEST(StoreFormat, WriteThenReadReproducesTheStore) {
    for (int n : {0, 1, 5}) {
        const DataStore original = sampleStore(n);
        const auto bytes = bytesOf(original);
        DataStore copy;
        readInto(copy, bytes);
        EXPECT_EQ(copy.loadStatus(), LOAD_OK);
        ASSERT_EQ(copy.count(), n);
        EXPECT_EQ(copy.current, original.current);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(*copy.patternAt(i), *original.patternAt(i));
        EXPECT_EQ(bytesOf(copy), bytes);
    }
}

TEST(StoreFormat, OlderFormatsReadWithConstantBackground) {
    const DataStore original = sampleStore(3);
    for (std::uint32_t tag : {STORE_TAG_OLDER, STORE_TAG_OLDEST}) {
        const auto file = olderFile(tag, original);
        ASSERT_EQ(file.size(), 488u + 376u * 3);
        DataStore s;
        readInto(s, file);
        EXPECT_EQ(s.loadStatus(), LOAD_OK);
        ASSERT_EQ(s.count(), 3);
        EXPECT_EQ(s.current.backgroundMode, BACKGROUND_CONSTANT);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(s.patternAt(i)->backgroundMode, BACKGROUND_CONSTANT);
            EXPECT_EQ(s.patternAt(i)->symmetry, 3 + i);
            EXPECT_EQ(s.patternAt(i)->nameText(), original.patternAt(i)->nameText());
        }
        EXPECT_EQ(s.fullScreenMode, FULLSCREEN_CYCLE);
        EXPECT_EQ(s.reserved[3], -3000);
        EXPECT_EQ(bytesOf(s).size(), storeFileBytes(3)); // rewritten in the current format
        EXPECT_EQ(bytesOf(s)[0], 0x92);
    }
}

TEST(StoreFormat, RefusedTagsLeaveTheStoreUntouched) {
    struct Case {
        std::uint32_t tag;
        std::int32_t status;
    };
    const Case cases[] = {{147258003, LOAD_LATER_VERSION}, {147258999, LOAD_LATER_VERSION},
                          {147258000, LOAD_NOT_A_STORE},   {147259000, LOAD_NOT_A_STORE},
                          {0, LOAD_NOT_A_STORE},           {5002, LOAD_NOT_A_STORE},
                          {0xFFFFFFFF, LOAD_NOT_A_STORE}};
    for (const Case& c : cases) {
        DataStore s = sampleStore(2);
        const auto before = bytesOf(s);
        auto file = bytesOf(sampleStore(4));
        putWord(file, 0, c.tag);
        readInto(s, file);
        EXPECT_EQ(s.loadStatus(), c.status) << c.tag;
        EXPECT_EQ(bytesOf(s), before) << c.tag;
    }
}

TEST(StoreFormat, CountZeroStillReadsWorkingPatternAndTrailer) {
    DataStore s;
    readInto(s, bytesOf(sampleStore(0)));
    EXPECT_EQ(s.count(), 0);
    EXPECT_EQ(s.current.nameText(), "Working ");
    EXPECT_EQ(s.fullScreenMode, FULLSCREEN_CYCLE);
}

TEST(StoreFormat, CurrentIndexOutsideTheListBecomesZero) {
    for (std::int32_t bad : {-1, 3, 1000000}) {
        auto file = bytesOf(sampleStore(3));
        putWord(file, 468 + 380 * 3, static_cast<std::uint32_t>(bad));
        DataStore s;
        readInto(s, file);
        EXPECT_EQ(s.currentIndex, 0) << bad;
    }
}

// A damaged file must never crash, allocate from an untrusted count or leave a
// half-filled store: either the whole file is taken or the store is unchanged.
class DamagedFile : public ::testing::Test {
  protected:
    void expectUnchangedOrComplete(std::vector<std::uint8_t> file) {
        DataStore s = sampleStore(2);
        const auto before = bytesOf(s);
        try {
            readInto(s, std::move(file));
        } catch (const StoreFileError&) {
            EXPECT_EQ(bytesOf(s), before);
            EXPECT_EQ(s.loadStatus(), LOAD_OK);
            return;
        }
        if (s.loadStatus() != LOAD_OK) {
            EXPECT_EQ(bytesOf(s), before);
            return;
        }
        EXPECT_TRUE(s.count() == 0 || s.patternAt(s.currentIndex) != nullptr);
    }
};

TEST_F(DamagedFile, EveryTruncationIsAFileErrorAndChangesNothing) {
    const auto full = bytesOf(sampleStore(3));
    for (std::size_t length = 0; length < full.size(); ++length) {
        DataStore s = sampleStore(2);
        const auto before = bytesOf(s);
        std::vector<std::uint8_t> cut(full.begin(), full.begin() + length);
        EXPECT_THROW(readInto(s, cut), StoreFileError) << length;
        EXPECT_EQ(bytesOf(s), before) << length;
    }
}

TEST_F(DamagedFile, HugeAndNegativeCountsAreRejected) {
    for (std::uint32_t count : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 4u, 1000000u}) {
        auto file = bytesOf(sampleStore(3));
        putWord(file, 4, count);
        DataStore s = sampleStore(1);
        const auto before = bytesOf(s);
        EXPECT_THROW(readInto(s, file), StoreFileError) << count;
        EXPECT_EQ(bytesOf(s), before);
    }
}

TEST_F(DamagedFile, RandomByteFlipsNeverCorruptTheStore) {
    const auto full = bytesOf(sampleStore(3));
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        auto file = full;
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int f = 0; f < flips; ++f)
            file[rng() % (round % 2 ? 12 : file.size())] ^=
                static_cast<std::uint8_t>(1 + rng() % 255);
        if (round % 5 == 0)
            file.resize(rng() % (file.size() + 1));
        expectUnchangedOrComplete(file);
    }
}
