#include "app/idle/IdleTime.h"

#include <gtest/gtest.h>

namespace lumivane {
namespace {

TEST(IdleTime, MinutesSecondsAndBareMinutes) {
    struct Case {
        const char* text;
        long long seconds; // 0: refused
    };
    const Case cases[] = {
        {"10m", 600},      {"90s", 90}, {"5", 300}, {"1s", 1},     {"1440", 86400},
        {"86400s", 86400}, {"0", 0},    {"0s", 0},  {"86401s", 0}, {"1441m", 0},
        {"", 0},           {"m", 0},    {"-5", 0},  {"+5", 0},     {"5h", 0},
        {"1.5m", 0},       {" 5", 0},   {"5 ", 0},  {"5ms", 0},    {"99999999999999999999", 0},
    };
    for (const Case& c : cases) {
        const std::optional<std::chrono::seconds> time = parseIdleTime(c.text);
        EXPECT_EQ(time ? time->count() : 0, c.seconds) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace lumivane
