#include "DataStore.h"

#include "PatternCodec.h"

#include <cstring>
#include <string_view>
#include <unordered_set>

namespace lumivane {
namespace {

// Words after the pattern records: 16 colours, 4 reserved, 6 trailer words.
constexpr std::size_t TRAILER_BYTES = 4 * (CUSTOM_COLOUR_COUNT + RESERVED_WORD_COUNT + 6);

bool sameName(const Pattern& a, const Pattern& b) {
    return std::strncmp(a.name, b.name, PATTERN_NAME_BYTES) == 0;
}

// The name's bytes up to its NUL (all 24 when there is none), as sameName
// compares them.
std::string_view nameOf(const Pattern& p) {
    const void* nul = std::memchr(p.name, '\0', PATTERN_NAME_BYTES);
    return {p.name, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - p.name)
                        : PATTERN_NAME_BYTES};
}

} // namespace

const Pattern* DataStore::patternAt(std::int32_t index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return &patterns_[static_cast<std::size_t>(index)];
}

Pattern* DataStore::patternAt(std::int32_t index) {
    return const_cast<Pattern*>(static_cast<const DataStore*>(this)->patternAt(index));
}

void DataStore::setPreferenceDefaults() {
    politeMode = 1;
    noTabMarks = 0;
    warnOnQuit = 1;
    enterKeepsDialog = 1;
    loadStatus_ = LOAD_OK;
}

void DataStore::resetToDefaults() {
    patterns_.assign(1, Pattern{});
    setPreferenceDefaults();
    fullScreenMode = FULLSCREEN_USE_CURRENT;
}

void DataStore::clear() {
    patterns_.clear();
    setPreferenceDefaults();
}

std::int32_t DataStore::addPattern(const Pattern& pattern) {
    patterns_.push_back(pattern);
    currentIndex = count() - 1;
    return currentIndex;
}

void DataStore::mergePattern(const Pattern& pattern) {
    for (const Pattern& stored : patterns_)
        if (sameName(stored, pattern))
            return;
    addPattern(pattern);
}

void DataStore::appendAll(const DataStore& other) {
    const std::vector<Pattern> source = other.patterns_; // safe even for other == *this
    for (const Pattern& p : source)
        addPattern(p);
}

// Linear in the number of names: each name is looked up in a set of the
// names held so far (the bank's own duplicates are left out too).
void DataStore::mergeAll(const DataStore& other) {
    const std::vector<Pattern> source = other.patterns_;
    patterns_.reserve(patterns_.size() + source.size()); // the names below stay in place
    std::unordered_set<std::string_view> names;
    names.reserve(patterns_.size() + source.size());
    for (const Pattern& stored : patterns_)
        names.insert(nameOf(stored));
    for (const Pattern& p : source)
        if (names.insert(nameOf(p)).second)
            addPattern(p);
}

void DataStore::removeAt(std::int32_t index) {
    if (patternAt(index))
        patterns_.erase(patterns_.begin() + index);
}

void DataStore::deleteAll() {
    patterns_.clear();
}

void DataStore::serialize(Archive& archive) {
    if (archive.isStoring())
        store(archive);
    else
        load(archive);
}

void DataStore::store(Archive& a) const {
    a.reserve(storeFileBytes(patterns_.size()));
    a.writeWord(STORE_TAG_CURRENT);
    a.writeInt(count());
    writePattern(a, current);
    for (const Pattern& p : patterns_)
        writePattern(a, p);
    for (ColourRef c : customColours)
        a.writeWord(c);
    for (std::int32_t r : reserved)
        a.writeInt(r);
    a.writeInt(currentIndex);
    a.writeInt(noTabMarks);
    a.writeInt(politeMode);
    a.writeInt(warnOnQuit);
    a.writeInt(enterKeepsDialog);
    a.writeInt(fullScreenMode);
}

void DataStore::load(Archive& a) {
    const std::uint32_t tag = a.readWord();
    std::size_t recordBytes = 0;
    if (tag == STORE_TAG_CURRENT) {
        recordBytes = PATTERN_BYTES;
    } else if (tag == STORE_TAG_OLDER || tag == STORE_TAG_OLDEST) {
        recordBytes = OLD_PATTERN_BYTES;
    } else {
        const bool later = tag > STORE_TAG_BASE && tag - STORE_TAG_BASE <= 999;
        loadStatus_ = later ? LOAD_LATER_VERSION : LOAD_NOT_A_STORE;
        return;
    }

    // Read into a fresh store and take it over only when the whole file was read.
    DataStore fresh;
    const std::int32_t announced = a.readInt();
    readPattern(a, fresh.current, recordBytes);
    if (announced < 0 || announced > MAX_STORED_PATTERNS ||
        a.remaining() / recordBytes < static_cast<std::size_t>(announced) ||
        a.remaining() - recordBytes * static_cast<std::size_t>(announced) < TRAILER_BYTES)
        throw StoreFileError("the file is damaged (impossible pattern count)");
    fresh.patterns_.resize(static_cast<std::size_t>(announced));
    for (Pattern& p : fresh.patterns_)
        readPattern(a, p, recordBytes);
    if (recordBytes < PATTERN_BYTES) {
        fresh.current.backgroundMode = BACKGROUND_CONSTANT;
        for (Pattern& p : fresh.patterns_)
            p.backgroundMode = BACKGROUND_CONSTANT;
    }
    for (ColourRef& c : fresh.customColours)
        c = a.readWord();
    for (std::int32_t& r : fresh.reserved)
        r = a.readInt();
    fresh.currentIndex = a.readInt();
    fresh.noTabMarks = a.readInt();
    fresh.politeMode = a.readInt();
    fresh.warnOnQuit = a.readInt();
    fresh.enterKeepsDialog = a.readInt();
    fresh.fullScreenMode = a.readInt();
    if (!fresh.patternAt(fresh.currentIndex))
        fresh.currentIndex = 0;
    fresh.loadStatus_ = LOAD_OK;
    *this = std::move(fresh);
}

} // namespace lumivane
