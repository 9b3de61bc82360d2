// "--merge-bank BANK --into FILE" without the files: the input is both files,
// the data file's length first as two little-endian bytes. Whatever they
// hold, no crash and no undefined behaviour; a merge of two files that read
// keeps the data file's patterns and selection, adds each bank pattern whose
// name is new (the first of equal names), and writes a file that reads back
// as exactly that, or is refused before writing when it would be too large.
#include "patterns/StoreFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace lumivane;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_merge_bank: %s\n", what);
        std::abort();
    }
}

// Reads bytes as loadStoreFile does; false for a file a tool reports.
bool read(const std::uint8_t* bytes, std::size_t size, DataStore& store) {
    if (size > MAX_STORE_FILE_BYTES)
        return false;
    try {
        Archive archive = Archive::forLoading(std::vector<std::uint8_t>(bytes, bytes + size));
        store.serialize(archive);
    } catch (const StoreFileError&) {
        return false;
    }
    return store.loadStatus() == LOAD_OK;
}

bool sameName(const Pattern& a, const Pattern& b) {
    return std::strncmp(a.name, b.name, PATTERN_NAME_BYTES) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t split = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    DataStore target, bank;
    target.clear();
    bank.clear();
    if (!read(data + 2, split, target) || !read(data + 2 + split, size - 2 - split, bank))
        return 0;

    // What the merge must give, the slow way.
    std::vector<Pattern> expected;
    for (std::int32_t i = 0; i < target.count(); ++i)
        expected.push_back(*target.patternAt(i));
    for (std::int32_t i = 0; i < bank.count(); ++i) {
        const Pattern& p = *bank.patternAt(i);
        if (std::none_of(expected.begin(), expected.end(),
                         [&](const Pattern& q) { return sameName(p, q); }))
            expected.push_back(p);
    }

    const std::int32_t selected = target.currentIndex;
    DataStore merged = target;
    merged.mergeAll(bank);
    merged.currentIndex = selected;
    require(merged.count() == static_cast<std::int32_t>(expected.size()), "wrong count");
    for (std::int32_t i = 0; i < merged.count(); ++i)
        require(*merged.patternAt(i) == expected[static_cast<std::size_t>(i)], "wrong pattern");

    std::vector<std::uint8_t> image;
    try {
        image = storeFileImage(merged);
    } catch (const StoreFileError&) {
        require(merged.count() > MAX_STORED_PATTERNS, "a merge within the limit was refused");
        return 0;
    }
    DataStore reread;
    require(read(image.data(), image.size(), reread), "the merged file does not read back");
    require(reread.count() == merged.count() && reread.currentIndex == selected,
            "the merged file reads back with another count or selection");
    require(storeFileImage(reread) == image, "the merged file reads back differently");
    return 0;
}
