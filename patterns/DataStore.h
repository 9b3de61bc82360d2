// The pattern set: an ordered list of named patterns, the working pattern, the
// selected index, the custom colours and the preference words saved with them.
#pragma once

#include "Archive.h"
#include "Pattern.h"

#include <cstdint>
#include <vector>

namespace lumivane {

enum FullScreenMode : std::int32_t {
    FULLSCREEN_USE_CURRENT = 0,
    FULLSCREEN_USE_RANDOM = 1,
    FULLSCREEN_AUTO_GENERATE = 2,
    FULLSCREEN_CYCLE = 3,
};

// What the configuration dialog calls each mode and the text form of store files writes.
namespace name_lists {
inline constexpr const char* FULL_SCREEN_MODES[] = {"Use Current", "Use Random", "Auto-Generate",
                                                    "Cycle"};
} // namespace name_lists
inline constexpr NameTable FULL_SCREEN_MODE_NAMES{name_lists::FULL_SCREEN_MODES};
static_assert(FULL_SCREEN_MODE_NAMES.count() == FULLSCREEN_CYCLE + 1);

// Version tags of the store file.
constexpr std::uint32_t STORE_TAG_BASE = 147258000;
constexpr std::uint32_t STORE_TAG_CURRENT = 147258002;
constexpr std::uint32_t STORE_TAG_OLDER = 147258001;
constexpr std::uint32_t STORE_TAG_OLDEST = 5001;

// Outcome of the last read.
constexpr std::int32_t LOAD_OK = 0;
constexpr std::int32_t LOAD_LATER_VERSION = 1;
constexpr std::int32_t LOAD_NOT_A_STORE = -1;

constexpr int CUSTOM_COLOUR_COUNT = 16;
constexpr int RESERVED_WORD_COUNT = 4;
constexpr ColourRef DEFAULT_CUSTOM_COLOUR = 0xC0C0FF;

// Bytes of a current-format file holding n patterns.
constexpr std::size_t storeFileBytes(std::size_t n) {
    return 492 + PATTERN_BYTES * n;
}

// The one limit of every reader and writer of store files: the most patterns
// a file of at most 64 MiB holds. Writers refuse more, so that everything
// written can be read back; readers refuse larger files without reading them
// whole.
constexpr std::int32_t MAX_STORED_PATTERNS = 176600;
constexpr std::size_t MAX_STORE_FILE_BYTES = storeFileBytes(MAX_STORED_PATTERNS);
static_assert(MAX_STORE_FILE_BYTES <= 64u * 1024 * 1024 &&
              storeFileBytes(MAX_STORED_PATTERNS + 1) > 64u * 1024 * 1024);

class DataStore {
  public:
    Pattern current;
    std::int32_t currentIndex = 0;
    ColourRef customColours[CUSTOM_COLOUR_COUNT] = {};
    std::int32_t reserved[RESERVED_WORD_COUNT] = {};
    std::int32_t politeMode = 0;
    std::int32_t noTabMarks = 0;
    std::int32_t warnOnQuit = 0;
    std::int32_t enterKeepsDialog = 0;
    std::int32_t fullScreenMode = FULLSCREEN_USE_CURRENT;

    std::int32_t count() const { return static_cast<std::int32_t>(patterns_.size()); }
    std::int32_t loadStatus() const { return loadStatus_; }

    // The stored pattern at index, or nullptr outside 0..count-1.
    const Pattern* patternAt(std::int32_t index) const;
    Pattern* patternAt(std::int32_t index);

    void resetToDefaults();
    void clear();
    std::int32_t addPattern(const Pattern& pattern);
    void mergePattern(const Pattern& pattern);
    void appendAll(const DataStore& other);
    void mergeAll(const DataStore& other);
    void removeAt(std::int32_t index);
    void deleteAll();

    // Writes the whole store when the archive is storing, reads it when loading.
    // Reading refuses unknown tags (loadStatus -1) and tags of later versions
    // (loadStatus 1), leaving everything else untouched. A file that is short
    // or announces an impossible count (more than the file holds, or more than
    // MAX_STORED_PATTERNS) throws StoreFileError and leaves the store exactly
    // as it was.
    void serialize(Archive& archive);

  private:
    void store(Archive& archive) const;
    void load(Archive& archive);
    void setPreferenceDefaults();

    std::vector<Pattern> patterns_;
    std::int32_t loadStatus_ = LOAD_OK;
};

} // namespace lumivane
