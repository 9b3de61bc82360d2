#include "patterns/Pattern.h"
#include <gtest/gtest.h>
TEST(Pattern, DefaultName) { EXPECT_EQ(lumivane::Pattern{}.nameText(), "No Data"); }
