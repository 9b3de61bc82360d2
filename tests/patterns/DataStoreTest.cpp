#include "patterns/DataStore.h"

#include <gtest/gtest.h>

using namespace lumivane;

namespace {

Pattern named(const char* name) {
    Pattern p;
    p.setNameText(name);
    return p;
}

} // namespace

TEST(DataStore, ResetToDefaultsGivesOneDefaultPatternAndDefaultWords) {
    DataStore s;
    s.currentIndex = 5;
    s.customColours[3] = 0x42;
    s.resetToDefaults();
    ASSERT_EQ(s.count(), 1);
    EXPECT_EQ(s.patternAt(0)->nameText(), "No Data");
    EXPECT_EQ(s.politeMode, 1);
    EXPECT_EQ(s.noTabMarks, 0);
    EXPECT_EQ(s.warnOnQuit, 1);
    EXPECT_EQ(s.enterKeepsDialog, 1);
    EXPECT_EQ(s.fullScreenMode, FULLSCREEN_USE_CURRENT);
    EXPECT_EQ(s.loadStatus(), LOAD_OK);
    EXPECT_EQ(s.currentIndex, 5); // left as it was
    EXPECT_EQ(s.customColours[3], 0x42u);
}

TEST(DataStore, ClearKeepsFullScreenModeAndColours) {
    DataStore s;
    s.addPattern(named("a "));
    s.fullScreenMode = FULLSCREEN_CYCLE;
    s.customColours[0] = 7;
    s.clear();
    EXPECT_EQ(s.count(), 0);
    EXPECT_EQ(s.fullScreenMode, FULLSCREEN_CYCLE);
    EXPECT_EQ(s.customColours[0], 7u);
    EXPECT_EQ(s.politeMode, 1);
}

TEST(DataStore, AddPatternStoresACopyAndSelectsIt) {
    DataStore s;
    for (const char* n : {"a ", "b ", "c "})
        s.addPattern(named(n));
    Pattern source = named("d ");
    EXPECT_EQ(s.addPattern(source), 3);
    EXPECT_EQ(s.count(), 4);
    EXPECT_EQ(s.currentIndex, 3);
    source.setNameText("changed");
    EXPECT_EQ(s.patternAt(3)->nameText(), "d ");
}

TEST(DataStore, MergeComparesNamesExactly) {
    DataStore s;
    s.mergePattern(named("Spiral "));
    s.mergePattern(named("Spiral ")); // same name: nothing
    EXPECT_EQ(s.count(), 1);
    EXPECT_EQ(s.currentIndex, 0);
    s.mergePattern(named("Spiral")); // no trailing space: a different name
    s.mergePattern(named("spiral "));
    EXPECT_EQ(s.count(), 3);

    DataStore bank;
    bank.addPattern(named("New "));
    bank.addPattern(named("New "));
    bank.addPattern(named("Spiral "));
    s.mergeAll(bank);
    EXPECT_EQ(s.count(), 4);
    EXPECT_EQ(s.patternAt(3)->nameText(), "New ");
}

TEST(DataStore, AppendAllOfEmptyStoreChangesNothing) {
    DataStore s;
    s.addPattern(named("a "));
    s.addPattern(named("b "));
    s.currentIndex = 0;
    s.appendAll(DataStore{});
    EXPECT_EQ(s.count(), 2);
    EXPECT_EQ(s.currentIndex, 0);
    DataStore other;
    other.addPattern(named("x "));
    s.appendAll(other);
    EXPECT_EQ(s.count(), 3);
    EXPECT_EQ(s.currentIndex, 2);
}

TEST(DataStore, RemoveAtIgnoresIndicesOutsideTheList) {
    DataStore s;
    for (const char* n : {"a ", "b ", "c "})
        s.addPattern(named(n));
    s.currentIndex = 2;
    for (int bad : {3, -1, 1000})
        s.removeAt(bad);
    EXPECT_EQ(s.count(), 3);
    s.removeAt(1);
    ASSERT_EQ(s.count(), 2);
    EXPECT_EQ(s.patternAt(1)->nameText(), "c ");
    EXPECT_EQ(s.currentIndex, 2); // untouched
    EXPECT_EQ(s.patternAt(2), nullptr);
    s.deleteAll();
    EXPECT_EQ(s.count(), 0);
}
