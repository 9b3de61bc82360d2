#include "ProgramRun.h"
#include "TestFolders.h"

#include "app/DisplayChoice.h"

#include <gtest/gtest.h>

#include <csignal>

namespace lumivane {
namespace {

// Every situation a desktop can start the program in, and the display chosen.
TEST(DisplayChoice, PicksAWorkingDisplayOrSaysWhyThereIsNone) {
    const struct {
        const char* what;
        DisplaySituation situation;
        const char* hostFor;
        const char* platform;
        const char* problem;
    } cases[] = {
        {"X11 desktop", {"", ":0", "", "x11", true, false, true}, "", "xcb", ""},
        {"Wayland session",
         {"", ":0", "wayland-1", "wayland", true, true, true},
         "",
         "wayland",
         ""},
        {"compositor started from a console",
         {"", "", "wayland-1", "tty", false, true, true},
         "",
         "wayland",
         ""},
        {"Wayland session without Qt's plugin: XWayland",
         {"", ":0", "wayland-1", "wayland", true, true, false},
         "",
         "xcb",
         ""},
        {"Wayland only, without the plugin",
         {"", "", "wayland-1", "wayland", false, true, false},
         "",
         "",
         "cannot open Wayland display \"wayland-1\" without Qt's Wayland plugin (package "
         "qt6-wayland)"},
        {"X11 session with a stray Wayland variable",
         {"", ":0", "wayland-1", "x11", true, true, true},
         "",
         "xcb",
         ""},
        {"unreachable X display",
         {"", ":97", "", "", false, false, true},
         "",
         "",
         "cannot open display \":97\""},
        {"nothing reachable",
         {"", ":97", "wayland-9", "", false, false, true},
         "",
         "",
         "cannot open display \":97\" or Wayland display \"wayland-9\""},
        {"no display at all",
         {"", "", "", "", false, false, true},
         "",
         "",
         "cannot open a display (neither DISPLAY nor WAYLAND_DISPLAY is set)"},
        {"hack under XWayland",
         {"", ":0", "wayland-1", "wayland", true, true, true},
         "--root",
         "xcb",
         ""},
        {"hack in a Wayland-only session",
         {"", "", "wayland-1", "wayland", false, true, true},
         "--root",
         "",
         "--root needs an X11 host window, and this Wayland session has no X display"},
        {"preview without any display",
         {"", ":97", "", "", false, false, true},
         "/p",
         "",
         "cannot open display \":97\""},
        {"user's platform that works", {"xcb", ":0", "", "", true, false, true}, "", "", ""},
        {"user's list: first that works",
         {"wayland;xcb", ":0", "wayland-1", "", true, false, true},
         "",
         "",
         ""},
        {"user's platform that does not",
         {"wayland", ":0", "wayland-1", "", true, false, true},
         "",
         "",
         "cannot open Wayland display \"wayland-1\""},
        {"user's X11 without DISPLAY",
         {"xcb", "", "", "", false, false, true},
         "",
         "",
         "cannot open an X display (DISPLAY is not set)"},
        {"user's off-screen platform", {"offscreen", "", "", "", false, false, true}, "/p", "", ""},
        {"user's Wayland for a hack",
         {"wayland", ":0", "wayland-1", "", true, true, true},
         "--window-id",
         "xcb",
         ""},
    };
    for (const auto& c : cases) {
        const DisplayChoice choice = chooseDisplay(c.situation, c.hostFor);
        EXPECT_EQ(choice.platform, c.platform) << c.what;
        EXPECT_EQ(choice.problem, c.problem) << c.what;
    }
}

// The program itself: one line and status 1 where Qt would abort, and a
// termination signal ends a saver by that signal once it has cleaned up.
TEST(DisplayChoice, ProgramEndsWithOneLineOrByTheSignal) {
    testing::testConfigHome();
    if (!std::filesystem::exists(testing::programPath()))
        GTEST_SKIP() << "program not built at " << testing::programPath();
    for (const char* mode : {"/s", "/c", "/p"}) {
        testing::ProgramRun run({mode}, {{"DISPLAY", ":97"},
                                         {"WAYLAND_DISPLAY", std::nullopt},
                                         {"QT_QPA_PLATFORM", std::nullopt}});
        EXPECT_EQ(run.wait(20), 1) << mode;
        EXPECT_EQ(run.errorText(), "lumivane: cannot open display \":97\"\n") << mode;
    }
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        testing::ProgramRun saver({"/s"}, {{"QT_QPA_PLATFORM", "offscreen"}});
        EXPECT_FALSE(saver.waitForError("lumivane:", 1)) << saver.errorText();
        ASSERT_TRUE(saver.running()) << saver.errorText();
        saver.stop(signal, 20);
        EXPECT_EQ(saver.endSignal(), signal) << saver.errorText();
    }
}

} // namespace
} // namespace lumivane
