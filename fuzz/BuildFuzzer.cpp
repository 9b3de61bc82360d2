// "--build OUT IN" without the files: JSON text to a store, the store to the
// bytes of a file. Whatever the text, no crash and no undefined behaviour;
// every problem is one line without a raw control character; and a text that
// builds gives a file that reads back, dumps and builds again to the same
// bytes.
#include "app/PatternJson.h"
#include "patterns/StoreFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_build: %s\n", what);
        std::abort();
    }
}

// No byte that could act on a terminal: C0 controls (tab and line feed
// included: a problem is one line), DEL and the C1 controls of UTF-8.
bool printable(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x20 || byte == 0x7F)
            return false;
        if (byte == 0xC2 && i + 1 < line.size() &&
            static_cast<unsigned char>(line[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(line[i + 1]) < 0xA0)
            return false;
    }
    return true;
}

// The file bytes of text, or nothing when it does not build.
bool build(const std::string& text, std::vector<std::uint8_t>& image) {
    DataStore store;
    const std::vector<std::string> problems = storeFromJson(text, store);
    for (const std::string& problem : problems)
        require(printable(problem), "a problem line holds a control character");
    if (!problems.empty())
        return false;
    try {
        image = storeFileImage(store);
    } catch (const StoreFileError&) {
        require(store.count() > MAX_STORED_PATTERNS, "a store within the limit was refused");
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::uint8_t> image;
    if (!build(text, image))
        return 0;
    require(image.size() <= MAX_STORE_FILE_BYTES, "a file larger than readers take");

    DataStore read;
    Archive archive = Archive::forLoading(image);
    read.serialize(archive); // a StoreFileError escapes: the file did not read back
    require(read.loadStatus() == LOAD_OK, "the file written was refused");

    std::vector<std::uint8_t> again;
    require(build(storeToJson(read), again), "the dump of a built file does not build");
    require(again == image, "dumping and building again changed the bytes");
    return 0;
}
