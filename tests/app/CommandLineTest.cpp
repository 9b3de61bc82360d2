#include "TestFolders.h"
#include "ToolRun.h"

#include "app/CommandLine.h"
#include "patterns/StoreFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace lumivane {
namespace {

namespace fs = std::filesystem;

using testing::runTool;
using testing::ToolRun;

// A bank whose names include a trailing blank and a full 23-character name.
std::string writeBank(const testing::TempFolder& folder) {
    DataStore store;
    store.clear();
    for (const char* name : {"Alpha", "Trailing ", "ABCDEFGHIJKLMNOPQRSTUVW"}) {
        Pattern pattern;
        pattern.setNameText(name);
        store.addPattern(pattern);
    }
    const std::string path = (folder.path() / "bank.pat").string();
    saveStoreFile(path, store);
    return path;
}

const char* const LISTED = "0\tAlpha\n1\tTrailing \n2\tABCDEFGHIJKLMNOPQRSTUVW\n";

TEST(CommandLine, ListsStoredPatternNames) {
    testing::TempFolder folder;
    const ToolRun run = runTool({"--list", writeBank(folder)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, LISTED);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(runTool({"--list=" + writeBank(folder)}).out, LISTED);
}

// Names are decoded from Windows-1252; control bytes and the backslash are
// escaped, so every pattern is one row with one tab whatever its name holds.
TEST(CommandLine, ListEscapesControlBytesInNames) {
    const std::pair<std::string, std::string> names[] = {
        {"\x1B]0;owned\a\x1B[2J", "\\x1B]0;owned\\x07\\x1B[2J"},
        {"9\tforged\nrow\r", "9\\x09forged\\x0Arow\\x0D"},
        {"C1 \x81\x8D\x8F\x90\x9D del\x7F", "C1 \\x81\\x8D\\x8F\\x90\\x9D del\\x7F"},
        {"back\\slash \\x41", "back\\\\slash \\\\x41"},
        {"Caf\xE9 \x80\x9F\xA0!", "Caf\u00E9 \u20AC\u0178\u00A0!"},
    };
    DataStore store;
    store.clear();
    std::string expected;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        Pattern pattern;
        pattern.setNameText(names[i].first);
        ASSERT_EQ(pattern.nameText(), names[i].first);
        store.addPattern(pattern);
        expected += std::to_string(i) + "\t" + names[i].second + "\n";
    }
    testing::TempFolder folder;
    const std::string path = (folder.path() / "hostile.pat").string();
    saveStoreFile(path, store);
    const ToolRun run = runTool({"--list", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected);
}

TEST(CommandLine, RefusedAndUnreadableFilesReportTheirText) {
    testing::TempFolder folder;
    const fs::path text = folder.path() / "notes.txt";
    std::ofstream(text) << "hello there, this is text\n";
    const fs::path later = folder.path() / "later.pat";
    {
        std::ofstream file(later, std::ios::binary);
        const std::uint32_t tag = STORE_TAG_CURRENT + 1;
        const unsigned char bytes[4] = {
            static_cast<unsigned char>(tag), static_cast<unsigned char>(tag >> 8),
            static_cast<unsigned char>(tag >> 16), static_cast<unsigned char>(tag >> 24)};
        file.write(reinterpret_cast<const char*>(bytes), 4);
    }
    const fs::path shortFile = folder.path() / "short.pat";
    fs::copy_file(writeBank(folder), shortFile);
    fs::resize_file(shortFile, 100);

    struct Case {
        fs::path file;
        std::string message;
    };
    // Each line names the file, then gives the text the dialogs show and the
    // reason of a file error.
    const Case cases[] = {
        {text, "Sorry, that's not a Lumivane pattern file!\n"},
        {later, "Sorry, that looks like a pattern bank saved by a later version of Lumivane.  "
                "You need to upgrade to the latest version!\n"},
        {shortFile, "File error! (the file ends early)\n"},
        {folder.path() / "missing.pat", "File error! (No such file or directory)\n"},
        {folder.path(), "File error! (Is a directory)\n"},
    };
    for (const Case& c : cases) {
        const ToolRun run = runTool({"--list", c.file.string()});
        EXPECT_EQ(run.status, 1) << c.file;
        EXPECT_EQ(run.err, "lumivane: " + c.file.string() + ": " + c.message) << c.file;
        EXPECT_EQ(run.out, "") << c.file;
    }
}

TEST(CommandLine, UsageErrorsExitWithTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--frobnicate"}, {"--help=x"}, {"--version", "extra"}, {"--"}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << args[0];
    }
}

TEST(CommandLine, HelpNamesSwitchesAndOptions) {
    const ToolRun run = runTool({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* word : {"--list [FILE]", "--dump FILE", "--build OUT IN", "--version",
                             "p HANDLE", "full-screen", "--symmetry N"})
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
}

// The built program, next to this test program: build/tests/test_app -> build/app/lumivane.
fs::path programPath() {
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "app" / "lumivane";
}

ToolRun runProgram(const std::string& arguments) {
    const std::string command = programPath().string() + " " + arguments + " 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[256];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, got);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, ""};
}

TEST(Program, ListsFileWrittenByTheProgramAndRefusesText) {
    if (!fs::exists(programPath()))
        GTEST_SKIP() << "program not built at " << programPath();
    testing::TempFolder folder;
    const ToolRun listed = runProgram("--list '" + writeBank(folder) + "'");
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, LISTED);

    const fs::path text = folder.path() / "notes.txt";
    std::ofstream(text) << "plain text\n";
    EXPECT_EQ(runProgram("--list '" + text.string() + "'").status, 1);
    EXPECT_EQ(runProgram("--no-such-option").status, 2);
    EXPECT_EQ(runProgram("x").status, 0); // a letter outside the table ends quietly
}

} // namespace
} // namespace lumivane

namespace lumivane {

TEST(CommandLine, HackCallsTakeTheClassicWordsAndOverrides) {
    struct Case {
        std::vector<std::string> args;
        bool isHack;
        bool root;
        std::optional<long long> window;
        std::optional<int> mode;
        bool noAntiAlias, noName;
        const char* problem; // a part of it, or "" for none
    };
    const std::vector<Case> cases = {
        {{"-root"}, true, true, {}, {}, false, false, ""},
        {{"--root", "--mode", "cycle"}, true, true, {}, 3, false, false, ""},
        {{"-window-id", "0x2a", "--no-antialias", "--no-name"},
         true,
         false,
         42,
         {},
         true,
         true,
         ""},
        {{"--mode=random", "--window-id=7"}, true, false, 7, 1, false, false, ""},
        {{"--root", "--mode", "sometimes"}, true, true, {}, {}, false, false, "--mode is one of"},
        {{"--root", "--mode"}, true, true, {}, {}, false, false, "needs a value"},
        {{"-root", "-mode", "cycle"}, true, true, {}, {}, false, false, "unexpected argument"},
        {{"--window-id", "nonsense"}, true, false, {}, {}, false, false, "not a window id"},
        {{"-rootx"}, false, false, {}, {}, false, false, ""},
        {{"--mode", "cycle"}, false, false, {}, {}, false, false, ""},
        {{"x"}, false, false, {}, {}, false, false, ""},
        // Hack words count where hack options are parsed only, and "--" ends them.
        {{"--mode", "cycle", "-root"}, true, true, {}, 3, false, false, ""},
        {{"--root", "--", "--mode", "cycle"}, true, true, {}, {}, false, false, "'--mode'"},
        {{"--pattern", "-root"}, false, false, {}, {}, false, false, ""},
        {{"--export-bank", "x.pat", "--", "--root"}, false, false, {}, {}, false, false, ""},
        {{"--render", "x.png", "--pattern", "-root"}, false, false, {}, {}, false, false, ""},
        {{"--build", "-root", "in.json"}, false, false, {}, {}, false, false, ""},
        {{"--list", "-window-id"}, false, false, {}, {}, false, false, ""},
    };
    for (const Case& c : cases) {
        const std::optional<HackCall> call = hackCallFrom(c.args);
        ASSERT_EQ(call.has_value(), c.isHack) << c.args[0];
        if (!call)
            continue;
        EXPECT_NE(call->problem.find(c.problem), std::string::npos) << call->problem;
        if (*c.problem != '\0')
            continue;
        EXPECT_TRUE(call->problem.empty()) << call->problem;
        EXPECT_EQ(call->root, c.root);
        EXPECT_EQ(call->windowId, c.window);
        EXPECT_EQ(call->overrides.fullScreenMode, c.mode);
        EXPECT_EQ(call->overrides.noAntiAlias, c.noAntiAlias);
        EXPECT_EQ(call->overrides.noName, c.noName);
    }
    std::string problem;
    const DisplayOverrides overrides =
        displayOverridesFrom({"--pattern", "Caf\xC3\xA9", "--mode", "generate"}, problem);
    EXPECT_EQ(problem, "");
    EXPECT_EQ(overrides.patternName, "Caf\xC3\xA9");
    EXPECT_EQ(overrides.fullScreenMode, 2);
}

// "--" ends the options of every tool: what follows is a file or a name, even
// one that looks like an option (the hack words included).
TEST(CommandLine, DoubleDashEndsTheOptionsOfEveryTool) {
    testing::TempFolder folder;
    const fs::path previous = fs::current_path();
    fs::current_path(folder.path());
    fs::copy_file(writeBank(folder), "--odd.pat");
    std::ofstream("in.json") << runTool({"--dump", "--", "--odd.pat"}).out;
    const struct {
        std::vector<std::string> args;
        int status;
        std::string says; // on standard output or error
    } cases[] = {
        {{"--list", "--", "--odd.pat"}, 0, LISTED},
        {{"--build", "--", "-root", "in.json"}, 0, ""},
        {{"--build", "--window-id", "--", "in.json"}, 0, ""},
        {{"--export-bank", "out.pat", "--data", "--odd.pat", "--", "--root"},
         2,
         "no stored pattern is named \"--root\""},
        {{"--export-bank", "--", "--out.pat", "--data"},
         2,
         "no stored pattern is named \"--data\""},
        {{"--merge-bank", "--", "--odd.pat", "--into", "x"}, 2, "unexpected argument '--into'"},
        {{"--render", "--", "--out.png", "--data", "--odd.pat", "--size", "8x8", "--frames", "1"},
         0,
         ""},
        {{"--render", "out.png", "--", "--size", "8x8"}, 2, "unexpected argument"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.status, c.status) << ::testing::PrintToString(c.args) << run.err;
        EXPECT_NE((run.out + run.err).find(c.says), std::string::npos) << run.out << run.err;
    }
    EXPECT_TRUE(fs::is_regular_file("-root"));
    EXPECT_TRUE(fs::is_regular_file("--window-id"));
    EXPECT_TRUE(fs::is_regular_file("--out.png"));
    fs::current_path(previous);
}

} // namespace lumivane
