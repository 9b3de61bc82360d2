#include "TestFolders.h"

#include "app/PatternJson.h"
#include "patterns/StoreFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

namespace lumivane {
namespace {

namespace fs = std::filesystem;
using lumivane::testing::fileBytes;
using testing::TempFolder;

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string dumped(const fs::path& file) {
    std::ostringstream out, err;
    EXPECT_EQ(dumpStoreFile(file.string(), out, err), 0) << err.str();
    return out.str();
}

// Builds file from text; returns the status, with the messages in err.
int build(const fs::path& file, const fs::path& json, const std::string& text, std::string& err) {
    writeText(json, text);
    std::ostringstream messages;
    const int status = buildStoreFile(file.string(), json.string(), messages);
    err = messages.str();
    return status;
}

// Every integer field of the pattern set to value, every colour to colour.
void fill(Pattern& p, std::int32_t value, ColourRef colour, std::uint8_t border) {
    for (std::int32_t* field :
         {&p.symmetry, &p.resetTime, &p.rotation, &p.speed, &p.imageSize, &p.balance,
          &p.animationLevel, &p.screenShape, &p.darkBorders, &p.backgroundMode})
        *field = value;
    for (std::int32_t& a : p.amount)
        a = value;
    p.backgroundColour = colour;
    for (Layer& l : p.layers)
        for (int i = 0; i < SLOTS_PER_LAYER; ++i) {
            l.shape[i] = l.size[i] = l.ratio[i] = l.animate[i] = value;
            l.angleMode[i] = l.colourMode[i] = l.sizeMode[i] = value;
            l.colour[i] = colour;
            l.border[i] = border;
        }
}

// Stores at the limits of every field: the int32 extremes, colours with a top
// byte, named and unnamed enumeration values, names full of bytes that need
// escaping or have no character of their own.
DataStore extremeStore() {
    DataStore s;
    s.clear();
    constexpr std::int32_t LOW = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t HIGH = std::numeric_limits<std::int32_t>::max();
    Pattern low, high, named;
    fill(low, LOW, 0x00000000, 0);
    fill(high, HIGH, 0xFFFFFFFF, 255);
    fill(named, 2, 0x00ABCDEF, 1); // 2 is a name in every enumeration
    low.setNameText("");
    high.setNameText(std::string("\x81\x8D\x8F\x90\x9D\"\\\t\x01\x7F\xFF\xE9\x80") + "0123456789");
    named.setNameText("Name with space ");
    named.layers[1].shape[2] = 26;
    for (const Pattern& p : {low, high, named})
        s.addPattern(p);
    s.current = high;
    std::memcpy(s.current.name, "A name of all 24 bytes!!", PATTERN_NAME_BYTES); // no NUL
    s.customColours[0] = 0xFFFFFFFF;
    s.customColours[15] = 0x00010203;
    s.reserved[0] = LOW;
    s.reserved[3] = HIGH;
    s.currentIndex = 2;
    s.noTabMarks = LOW;
    s.politeMode = HIGH;
    s.warnOnQuit = -1;
    s.enterKeepsDialog = 7;
    s.fullScreenMode = 4; // no name
    return s;
}

TEST(PatternJson, RoundTripIsByteIdenticalAtTheExtremes) {
    TempFolder folder;
    const fs::path original = folder.path() / "original.pat";
    const fs::path rebuilt = folder.path() / "rebuilt.pat";
    saveStoreFile(original.string(), extremeStore());
    const std::string json = dumped(original);
    ASSERT_EQ(fileBytes(original).size(), storeFileBytes(3));

    std::string err;
    ASSERT_EQ(build(rebuilt, folder.path() / "in.json", json, err), 0) << err;
    EXPECT_EQ(err, "");
    EXPECT_EQ(fileBytes(rebuilt), fileBytes(original));
    // The text shows names, not numbers, wherever a value has one.
    for (const char* word : {"\"Twirl\"", "\"Change\"", "\"Rectangle\"", "\"Changing\"",
                             "\"Hexagon\"", "\"Bracket\"", "\"#EFCDAB\"", "4294967295",
                             "\"\\u0081\\u008D\\u008F\\u0090\\u009D\\\"\\\\\\u0009\\u0001"
                             "\\u007F\u00FF\u00E9\u20AC0123456789\"",
                             "\"A name of all 24 bytes!!\""})
        EXPECT_NE(json.find(word), std::string::npos) << word;
}

TEST(PatternJson, OlderFormatBuildsToTheCurrentOneWithEveryFieldEqual) {
    TempFolder folder;
    DataStore s = extremeStore();
    for (int i = 0; i < s.count(); ++i)
        s.patternAt(i)->backgroundMode = BACKGROUND_CONSTANT;
    s.current.backgroundMode = BACKGROUND_CONSTANT;
    const fs::path current = folder.path() / "current.pat";
    saveStoreFile(current.string(), s);

    // The older format: tag 147258001, every record without its last word.
    const std::string bytes = fileBytes(current);
    std::string older = bytes.substr(0, 8);
    older[0] = static_cast<char>(0x91);
    for (int record = 0; record <= s.count(); ++record)
        older += bytes.substr(8 + PATTERN_BYTES * record, OLD_PATTERN_BYTES);
    older += bytes.substr(8 + PATTERN_BYTES * (s.count() + 1));
    const fs::path old = folder.path() / "old.pat";
    writeText(old, older);

    std::string err;
    const fs::path built = folder.path() / "built.pat";
    ASSERT_EQ(build(built, folder.path() / "old.json", dumped(old), err), 0) << err;
    EXPECT_EQ(fileBytes(built), bytes);
}

// Two patterns whose values are unique in the text, so each case can change
// one of them by replacing text.
std::string validJson(const TempFolder& folder) {
    DataStore s;
    s.clear();
    Pattern first;
    first.setNameText("First");
    Pattern second;
    second.setNameText("Second");
    second.symmetry = 11;
    second.resetTime = 77;
    second.amount[0] = 10;
    second.screenShape = SCREEN_RECTANGLE;
    second.layers[0].animate[0] = 1;
    second.layers[0].animate[1] = 2;
    second.layers[0].animate[2] = 3;
    second.layers[2].colour[1] = 0x00563412;
    second.layers[2].border[1] = 0;
    s.addPattern(first);
    s.addPattern(second);
    s.fullScreenMode = FULLSCREEN_CYCLE;
    const fs::path file = folder.path() / "valid.pat";
    saveStoreFile(file.string(), s);
    return dumped(file);
}

TEST(PatternJson, EveryProblemIsNamedByPatternAndFieldAndNothingIsWritten) {
    struct Case {
        const char* find;
        const char* replace;
        const char* message;
    };
    const Case cases[] = {
        {"\"symmetry\": 11", "\"symetry\": 11",
         "pattern 1 \"Second\": \"symetry\" is not a pattern field"},
        {"\"resetTime\": 77", "\"resetTime\": 2147483648",
         "pattern 1 \"Second\": resetTime: 2147483648 is not a whole number from -2147483648 to "
         "2147483647"},
        {"\"symmetry\": 11", "\"symmetry\": 11.5", "pattern 1 \"Second\": symmetry: 11.5 is not"},
        {"[10, 50, 50]", "[10, 50]",
         "pattern 1 \"Second\": amount: [10,50] is not a list of 3 values"},
        {"\"Rectangle\"", "\"Rect\"", "pattern 1 \"Second\": screenShape: \"Rect\" is not"},
        {"\"animate\": [1, 2, 3]", "\"animat\": [1, 2, 3]",
         "pattern 1 \"Second\": layers[0]: \"animat\" is not a layer field"},
        {"\"#123456\"", "\"#12345G\"",
         "pattern 1 \"Second\": layers[2].colour[1]: \"#12345G\" is not a colour"},
        {"[1, 0, 1]", "[1, 256, 1]",
         "pattern 1 \"Second\": layers[2].border[1]: 256 is not a whole number from 0 to 255"},
        {"\"Second\"", "\"ÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀ\"",
         "pattern 1 \"ÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀ\": name: \"ÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀÀ\" is 25 "
         "bytes long; a name holds at most 24"},
        // DEL and C1 controls are shown escaped, as the other controls are.
        {"\"Second\"", "\"\\u007F\\u0081 twenty-three more bytes\"",
         "pattern 1 \"\\u007F\\u0081 twenty-three more bytes\": name: \"\\u007F\\u0081 "
         "twenty-three more bytes\" is 26 bytes long"},
        {"\"Second\"", "\"Ωmega\"",
         "pattern 1 \"Ωmega\": name: \"Ωmega\" holds a character that Windows-1252 cannot hold"},
        {"\"name\": \"No Data\"", "\"name\": \"No Data\", \"extra\": 1",
         "working pattern \"No Data\": \"extra\" is not a pattern field"},
        {"\"Cycle\"", "\"Cycles\"", "fullScreenMode: \"Cycles\" is not \"Use Current\""},
        {"\"currentIndex\": 1", "\"currentIndex\": 2",
         "currentIndex: 2 is not the index of a stored pattern (0 to 1)"},
        {"\"reserved\"", "\"reserve\"", "\"reserve\" is not a key of the file"},
        {"\"patterns\": [", "\"patterns\": [,", "in.json: line "},
    };
    TempFolder folder;
    const std::string valid = validJson(folder);
    const fs::path out = folder.path() / "out.pat";
    for (const Case& c : cases) {
        std::string text = valid;
        const auto at = text.find(c.find);
        ASSERT_NE(at, std::string::npos) << c.find;
        text.replace(at, std::strlen(c.find), c.replace);
        writeText(out, "old");
        std::string err;
        EXPECT_EQ(build(out, folder.path() / "in.json", text, err), 2) << c.replace;
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(fileBytes(out), "old") << c.replace;
    }
    std::string err;
    EXPECT_EQ(build(out, folder.path() / "in.json", valid, err), 0) << err;
}

// Whatever --dump writes builds again: the dump of a file of the most
// patterns, each with the longest numbers and name, fits what --build reads.
TEST(PatternJson, TheLargestDumpFitsWhatBuildReads) {
    Pattern longest;
    fill(longest, std::numeric_limits<std::int32_t>::min(), 0xFFFFFFFF, 255);
    std::memset(longest.name, 1, PATTERN_NAME_BYTES); // each written as \u0001
    DataStore one, two;
    for (DataStore* s : {&one, &two}) {
        s->clear();
        s->current = longest;
        for (std::int32_t* word : {&s->currentIndex, &s->noTabMarks, &s->politeMode,
                                   &s->warnOnQuit, &s->enterKeepsDialog, &s->fullScreenMode})
            *word = std::numeric_limits<std::int32_t>::min();
        for (std::int32_t& r : s->reserved)
            r = std::numeric_limits<std::int32_t>::min();
        for (ColourRef& c : s->customColours)
            c = 0xFFFFFFFF;
    }
    one.addPattern(longest);
    two.addPattern(longest);
    two.addPattern(longest);
    const std::size_t first = storeToJson(one).size();
    const std::size_t each = storeToJson(two).size() - first;
    EXPECT_LE(first + each * (MAX_STORED_PATTERNS - 1), MAX_JSON_BYTES) << each << " a pattern";
}

// IN that cannot be read gives status 1 with the reason, an empty one is bad
// input (2); a file larger than any dump is refused without being read.
TEST(PatternJson, InputThatCannotBeReadIsSaidSo) {
    TempFolder folder;
    const fs::path out = folder.path() / "out.pat";
    const fs::path empty = folder.path() / "empty.json";
    const fs::path huge = folder.path() / "huge.json";
    writeText(empty, "");
    writeText(huge, "{");
    fs::resize_file(huge, MAX_JSON_BYTES + 1); // sparse
    const struct {
        fs::path in;
        int status;
        std::string says;
    } cases[] = {
        {empty, 2, "it is empty"},
        {folder.path() / "missing.json", 1, "cannot read it: No such file or directory"},
        {folder.path(), 1, "cannot read it: Is a directory"},
        {huge, 1, "cannot read it: it is larger than"},
    };
    for (const auto& c : cases) {
        std::ostringstream messages;
        EXPECT_EQ(buildStoreFile(out.string(), c.in.string(), messages), c.status) << c.in;
        const std::string err = messages.str();
        EXPECT_NE(err.find("lumivane: " + c.in.string() + ": " + c.says), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST(PatternJson, TheShippedCollection) {
    const fs::path built = LUMIVANE_COLLECTION_DAT;
    ASSERT_TRUE(fs::exists(built)) << built;
    DataStore store;
    loadStoreFile(built.string(), store);
    ASSERT_EQ(store.loadStatus(), LOAD_OK);
    EXPECT_GE(store.count(), 40);
    EXPECT_EQ(store.fullScreenMode, FULLSCREEN_USE_RANDOM);

    std::set<std::string> names;
    int shapes[4] = {};
    for (int i = 0; i < store.count(); ++i) {
        const Pattern& p = *store.patternAt(i);
        EXPECT_TRUE(names.insert(p.nameText()).second) << p.nameText();
        ASSERT_TRUE(p.screenShape >= 0 && p.screenShape < 4) << p.nameText();
        ++shapes[p.screenShape];
    }
    EXPECT_TRUE(names.count(store.current.nameText())) << store.current.nameText();
    for (int shape : {SCREEN_CIRCLE, SCREEN_RECTANGLE, SCREEN_THREE_MIRROR})
        EXPECT_GE(shapes[shape], 6) << shape;
    EXPECT_GE(shapes[SCREEN_OVAL], 1);
    // The repository keeps the collection exactly as --dump writes it.
    EXPECT_EQ(dumped(built), fileBytes(LUMIVANE_COLLECTION_JSON));
}

} // namespace
} // namespace lumivane
