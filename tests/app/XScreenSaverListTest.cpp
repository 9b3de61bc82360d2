#include "TestFolders.h"

#include "app/XScreenSaverList.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <optional>
#include <sstream>

namespace lumivane {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;

// The shape of XScreenSaver's app-defaults: the list is "*programs:", its last
// entry ends without a continuation, and resources follow.
constexpr const char* DEFAULTS = "*timeout:\t0:10:00\n"
                                 "*programs:\t\t\t\\\n"
                                 "\t\t\t\tmaze --root\t\t\t\\n\\\n"
                                 "  GL: \t\t\t\tsuperquadrics --root\t\\n\\\n"
                                 "-\t\t\t\tpyro --root\t\t\t\\n\n"
                                 "\n"
                                 "*hacks.maze.name: Maze\n";

constexpr const char* ENTRY = "\t\t\t\t\"Lumivane\"  lumivane --root\t\t\t    \\n";

// A file as xscreensaver-settings writes it, with a comment and settings after the list.
const std::string USER = "# XScreenSaver Preferences File\n"
                         "timeout:\t0:05:00\n"
                         "programs:\t\t\t\t\\\n"
                         "\t\t\t\tmaze --root\t\t\t\\n\\\n"
                         "-\t\t\t\tpyro --root\t\t\t\\n\n"
                         "\n"
                         "pointerHysteresis:  10\n";

struct ListRun {
    int status;
    std::string out, err;
};

ListRun addIn(const fs::path& user, const fs::path& defaults) {
    std::ostringstream out, err;
    const int status = addToXScreenSaver(user.string(), defaults.string(), out, err);
    return {status, out.str(), err.str()};
}

void write(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

TEST(XScreenSaverList, AddsTheEntryOnceKeepingEveryOtherLine) {
    const std::string added = "# XScreenSaver Preferences File\n"
                              "timeout:\t0:05:00\n"
                              "programs:\t\t\t\t\\\n"
                              "\t\t\t\tmaze --root\t\t\t\\n\\\n"
                              "-\t\t\t\tpyro --root\t\t\t\\n\\\n" +
                              std::string(ENTRY) + "\n\npointerHysteresis:  10\n";
    const std::string fromDefaults = "programs:\t\t\t\\\n"
                                     "\t\t\t\tmaze --root\t\t\t\\n\\\n"
                                     "  GL: \t\t\t\tsuperquadrics --root\t\\n\\\n"
                                     "-\t\t\t\tpyro --root\t\t\t\\n\\\n" +
                                     std::string(ENTRY) + "\n";
    const struct {
        const char* what;
        std::optional<std::string> before; // nothing: no file
        std::string after;                 // the file ends with this
        const char* said;
    } cases[] = {
        {"a file with a list", USER, added, "Added Lumivane"},
        {"a file without a list", "lock:\tTrue", "lock:\tTrue\n\n" + fromDefaults,
         "Added Lumivane"},
        {"a missing file", std::nullopt, fromDefaults, "made from XScreenSaver's"},
        {"a list whose last entry has no \\n", "programs: maze --root\n",
         "programs: maze --root \\n\\\n" + std::string(ENTRY) + "\n", "Added"},
        {"an empty list", "programs:\n", "programs:\t\\\n" + std::string(ENTRY) + "\n", "Added"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::TempFolder folder;
        const fs::path user = folder.path() / ".xscreensaver";
        const fs::path defaults = folder.path() / "XScreenSaver";
        write(defaults, DEFAULTS);
        if (c.before)
            write(user, *c.before);
        const ListRun first = addIn(user, defaults);
        EXPECT_EQ(first.status, 0) << first.err;
        EXPECT_NE(first.out.find(c.said), std::string::npos) << first.out;
        const std::string text = fileBytes(user);
        EXPECT_TRUE(text.ends_with(c.after)) << text;
        EXPECT_EQ(lumivaneListed(text), ListedAs::On);
        const ListRun second = addIn(user, defaults);
        EXPECT_EQ(second.status, 0);
        EXPECT_NE(second.out.find("already lists Lumivane; nothing changed"), std::string::npos);
        EXPECT_EQ(fileBytes(user), text);
    }
}

TEST(XScreenSaverList, FindsLumivaneInEveryFormOfEntry) {
    const struct {
        const char* list;
        ListedAs listed;
    } cases[] = {
        {"programs: maze --root \\n\\\n  lumivane --root \\n\n", ListedAs::On},
        {"programs: \"Lumivane\" /usr/libexec/xscreensaver/lumivane -root\n", ListedAs::On},
        {"programs:\\\n-  GL: \"Mine\" lumivane --root --mode cycle\\n\n", ListedAs::Off},
        {"programs: maze --root \\n\\\n lumivane-other --root\n", ListedAs::Missing},
        {"# programs: lumivane --root\nprograms: maze\n", ListedAs::Missing},
        {"other: lumivane --root\n", ListedAs::Missing},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lumivaneListed(c.list), c.listed) << c.list;
}

TEST(XScreenSaverList, LeavesReadOnlyAndListingFilesAlone) {
    testing::TempFolder folder;
    const fs::path user = folder.path() / ".xscreensaver";
    const fs::path defaults = folder.path() / "XScreenSaver";
    write(defaults, DEFAULTS);

    write(user, "programs:\\\n-  lumivane --root\\n\n");
    ListRun run = addIn(user, defaults);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("switched off"), std::string::npos) << run.out;

    write(user, USER);
    fs::permissions(user, fs::perms::owner_read | fs::perms::group_read);
    run = addIn(user, defaults);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "lumivane: " + user.string() + " is read-only; nothing changed\n");
    EXPECT_EQ(fileBytes(user), USER);
    EXPECT_EQ(fs::status(user).permissions(), fs::perms::owner_read | fs::perms::group_read);

    fs::remove(user);
    run = addIn(user, folder.path() / "missing");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("is XScreenSaver installed?"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(user));

    // A FIFO in the file's place is refused at once, not waited on.
    ASSERT_EQ(::mkfifo(user.c_str(), 0600), 0);
    run = addIn(user, defaults);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << run.err;
    EXPECT_EQ(fs::status(user).type(), fs::file_type::fifo);
}

} // namespace
} // namespace lumivane
