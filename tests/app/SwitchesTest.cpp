#include "app/Switches.h"

#include <gtest/gtest.h>

namespace lumivane {
namespace {

TEST(Switches, MatchesSwitchIgnoresPrefixCaseAndTail) {
    struct Case {
        const char* argument;
        char letter;
        bool matches;
    };
    const Case cases[] = {
        {"/s", 's', true},    {"-S", 's', true},   {"s", 'S', true},    {"Sxyz", 's', true},
        {"/p:12", 'p', true}, {"x", 's', false},   {"", 's', false},    {"/", 's', false},
        {"-", 's', false},    {"//s", 's', false}, {"-/s", 's', false}, {"--s", 's', false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesSwitch(c.argument, c.letter), c.matches) << '"' << c.argument << '"';
}

TEST(Switches, RunModeTable) {
    using Args = std::vector<std::string>;
    EXPECT_EQ(runModeFor(Args{}), RunMode::Configure);
    EXPECT_EQ(runModeFor(Args{"/c:1234"}), RunMode::Configure);
    EXPECT_EQ(runModeFor(Args{"/p", "5"}), RunMode::Preview);
    EXPECT_EQ(runModeFor(Args{"L"}), RunMode::Preview);
    EXPECT_EQ(runModeFor(Args{"-S"}), RunMode::FullScreen);
    EXPECT_EQ(runModeFor(Args{"screen"}), RunMode::FullScreen);
    EXPECT_EQ(runModeFor(Args{"/a", "7"}), RunMode::ChangePassword);
    EXPECT_EQ(runModeFor(Args{"x"}), RunMode::Nothing);
    EXPECT_EQ(runModeFor(Args{""}), RunMode::Nothing);
}

TEST(Switches, WindowHandleForms) {
    struct Case {
        std::vector<std::string> args;
        long long handle;
    };
    const Case cases[] = {
        {{"/p", "1234"}, 1234},
        {{"/p:1234"}, 1234},
        {{"/p"}, 0},
        {{"/p", "abc"}, 0},
        {{"/p", "12ab"}, 12},
        {{"/p", " 99"}, 99},
        {{"/p:"}, 0},
        {{"/p:123abc"}, 123},
        {{"/p", "99999999999999999999999"}, NOT_A_WINDOW},
        {{"/p", "-99999999999999999999999"}, NOT_A_WINDOW},
        {{"/p", "-1"}, NOT_A_WINDOW},
        {{"/p:4294967296"}, NOT_A_WINDOW},
        {{"/p", "4294967295"}, 4294967295},
        {{"/p:77", "88"}, 77},
        {{}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowHandleFrom(c.args), c.handle) << testing::PrintToString(c.args);
}

} // namespace
} // namespace lumivane
