#include "TestFolders.h"
#include "ToolRun.h"

#include "app/CommandLine.h"
#include "app/DataFileLock.h"
#include "patterns/StoreFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumivane {
namespace {

namespace fs = std::filesystem;
using lumivane::testing::fileBytes;

using testing::runTool;
using testing::ToolRun;

void writeStore(const fs::path& file, const std::vector<std::string>& names) {
    fs::create_directories(file.parent_path());
    DataStore store;
    store.clear();
    for (const std::string& name : names) {
        Pattern pattern;
        pattern.setNameText(name);
        pattern.imageSize = static_cast<std::int32_t>(name.size());
        store.addPattern(pattern);
    }
    store.currentIndex = 1;
    store.current.setNameText("Working ");
    saveStoreFile(file.string(), store);
}

std::vector<std::string> namesIn(const fs::path& file) {
    DataStore store;
    loadStoreFile(file.string(), store);
    std::vector<std::string> names;
    for (int i = 0; i < store.count(); ++i)
        names.push_back(store.patternAt(i)->nameText());
    return names;
}

// A private data home, system folder and current directory: the tools'
// default data file is this test's own.
class BankTools : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::testConfigHome();
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
            const char* value = std::getenv(name); // set by testConfigHome
            previousEnv.emplace_back(name, value != nullptr ? value : "");
        }
        ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);
        ::setenv("XDG_DATA_DIRS", home.path().c_str(), 1);
        previousDir = fs::current_path();
        fs::current_path(home.path());
    }
    void TearDown() override {
        fs::current_path(previousDir);
        for (const auto& [name, value] : previousEnv)
            ::setenv(name.c_str(), value.c_str(), 1);
    }

    fs::path file(const char* name) const { return home.path() / name; }
    fs::path dataFile() const { return home.path() / "lumivane" / "Lumivane.dat"; }

    testing::TempFolder home;
    fs::path previousDir;
    std::vector<std::pair<std::string, std::string>> previousEnv;
};

TEST_F(BankTools, MergeBankAddsOnlyNewNamesWhereOkWouldSave) {
    writeStore(dataFile(), {"Alpha ", "Beta "});
    writeStore(file("bank.pat"), {"Beta ", "Gamma ", "Gamma "});
    ToolRun run = runTool({"--merge-bank", file("bank.pat").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "merged 1 of 3 patterns into " + dataFile().string() + "\n");
    EXPECT_EQ(namesIn(dataFile()), (std::vector<std::string>{"Alpha ", "Beta ", "Gamma "}));
    DataStore merged;
    loadStoreFile(dataFile().string(), merged);
    EXPECT_EQ(merged.currentIndex, 1) << "the selection stays";
    EXPECT_EQ(merged.current.nameText(), "Working ");

    const std::string before = fileBytes(dataFile());
    run = runTool({"--merge-bank=" + file("bank.pat").string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(fileBytes(dataFile()), before);

    writeStore(file("other.dat"), {"Gamma "});
    run =
        runTool({"--merge-bank", file("bank.pat").string(), "--into", file("other.dat").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(namesIn(file("other.dat")), (std::vector<std::string>{"Gamma ", "Beta "}));
    EXPECT_EQ(fileBytes(dataFile()), before);
}

TEST_F(BankTools, ExportBankWritesTheNamedPatternsOrAll) {
    writeStore(file("data.dat"), {"Alpha ", "Beta ", "Caf\xE9 "});
    ToolRun run = runTool({"--export-bank", file("two.pat").string(), "--data",
                           file("data.dat").string(), "Caf\u00E9", "Alpha "});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "wrote 2 patterns to " + file("two.pat").string() + "\n");
    EXPECT_EQ(namesIn(file("two.pat")), (std::vector<std::string>{"Caf\xE9 ", "Alpha "}));
    DataStore bank;
    loadStoreFile(file("two.pat").string(), bank);
    EXPECT_EQ(bank.current.nameText(), "No Data");
    EXPECT_EQ(bank.patternAt(0)->imageSize, 5);

    writeStore(dataFile(), {"Mine "});
    run = runTool({"--export-bank", file("all.pat").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(namesIn(file("all.pat")), std::vector<std::string>{"Mine "});
}

// Refused inputs exit with 1 and their message, bad arguments and outputs
// that cannot be written with 2; no file is written or changed either way.
TEST_F(BankTools, RefusalsBadArgumentsAndImpossibleTargets) {
    writeStore(dataFile(), {"Alpha "});
    writeStore(file("bank.pat"), {"New "});
    std::ofstream(file("notes.txt")) << "Just some notes.\n";
    std::string later = fileBytes(file("bank.pat"));
    later[0] = '\x93';
    std::ofstream(file("later.pat"), std::ios::binary) << later;
    std::ofstream(file("plain")) << "a file, not a folder";
    fs::create_directory(file("folder.pat"));
    const std::string bank = file("bank.pat").string();
    const std::string notAPatternFile = "Sorry, that's not a Lumivane pattern file!";
    const std::string laterVersion = "a later version of Lumivane.  You need to upgrade";

    const struct {
        std::vector<std::string> args;
        int status;
        std::string says;
    } cases[] = {
        {{"--merge-bank", file("notes.txt").string()}, 1, notAPatternFile},
        {{"--merge-bank", bank, "--into", file("later.pat").string()}, 1, laterVersion},
        {{"--merge-bank", bank, "--into", file("missing.dat").string()}, 1, "File error!"},
        {{"--export-bank", file("out.pat").string(), "--data", file("notes.txt").string()},
         1,
         notAPatternFile},
        {{"--merge-bank"}, 2, "needs BANK"},
        {{"--merge-bank", bank, "--onto", "x"}, 2, "unexpected argument '--onto'"},
        {{"--merge-bank", bank, "--into"}, 2, "--into needs FILE"},
        {{"--export-bank", file("out.pat").string(), "Nobody"}, 2, "no stored pattern is named"},
        {{"--export-bank", (file("plain") / "out.pat").string()}, 2, "Not a directory"},
        {{"--export-bank", file("folder.pat").string()}, 2, "the bank could not be saved"},
    };
    const std::string data = fileBytes(dataFile());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(fileBytes(dataFile()), data);
        EXPECT_FALSE(fs::exists(file("out.pat")));
        EXPECT_EQ(fileBytes(file("later.pat")), later);
    }
    EXPECT_TRUE(fs::is_directory(file("folder.pat")));
    for (const auto& entry : fs::directory_iterator(home.path()))
        EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << "a temporary left";

    // The default data file: one that could not be read is not written over,
    // and one that cannot be saved is reported.
    std::ofstream(dataFile(), std::ios::binary | std::ios::trunc) << later;
    ToolRun run = runTool({"--merge-bank", bank});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(laterVersion), std::string::npos) << run.err;
    EXPECT_EQ(fileBytes(dataFile()), later);
    ::setenv("XDG_DATA_HOME", file("plain").c_str(), 1);
    run = runTool({"--merge-bank", bank});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("the data file could not be saved"), std::string::npos) << run.err;
}

// Merges started at the same moment, each adding a pattern of its own, into
// one file: every pattern arrives (the file's lock serialises them).
TEST_F(BankTools, MergesRunningTogetherLoseNothing) {
    constexpr int WRITERS = 100;
    writeStore(file("shared.dat"), {"Start "});
    for (int i = 0; i < WRITERS; ++i)
        writeStore(file(("bank" + std::to_string(i) + ".pat").c_str()),
                   {"Pattern " + std::to_string(i)});
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    std::vector<pid_t> writers;
    for (int i = 0; i < WRITERS; ++i) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(gate[1]);
            char go;
            [[maybe_unused]] const ssize_t ignored = ::read(gate[0], &go, 1); // all start at once
            const ToolRun run =
                runTool({"--merge-bank", file(("bank" + std::to_string(i) + ".pat").c_str()),
                         "--into", file("shared.dat").string()});
            ::_exit(run.status == 0 && run.out.starts_with("merged 1 of 1") ? 0 : 1);
        }
        writers.push_back(pid);
    }
    ::close(gate[0]);
    ::close(gate[1]);
    int failed = 0;
    for (const pid_t pid : writers) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        failed += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(namesIn(file("shared.dat")).size(), std::size_t{WRITERS + 1});
}

// A writer waits for another one a bounded time, then says what is in the way.
TEST_F(BankTools, ALockedDataFileIsWaitedForABoundedTime) {
    writeStore(file("shared.dat"), {"Start "});
    const DataFileLock held(file("shared.dat").string());
    try {
        const DataFileLock second(file("shared.dat").string(), std::chrono::milliseconds(200));
        ADD_FAILURE() << "locked twice";
    } catch (const StoreFileError& error) {
        EXPECT_EQ(std::string(error.what()), "another program kept " +
                                                 file("shared.dat.lock").string() +
                                                 " locked for 200 ms");
    }
}

// A FIFO or a device where a tool would write: refused (status 2), never
// replaced by a regular file. (Nodes in the test's own folder.)
TEST_F(BankTools, NodesAreNeverReplacedByTheTools) {
    writeStore(file("data.dat"), {"Alpha "});
    const ToolRun dump = runTool({"--dump", file("data.dat").string()});
    std::ofstream(file("data.json")) << dump.out;
    ASSERT_EQ(::mkfifo(file("out.fifo").c_str(), 0600), 0);
    std::vector<std::string> nodes = {file("out.fifo").string()};
    if (::geteuid() == 0) {
        ASSERT_EQ(::mknod(file("out.dev").c_str(), S_IFCHR | 0600, ::makedev(1, 3)), 0);
        nodes.push_back(file("out.dev").string());
    }
    for (const std::string& node : nodes) {
        const fs::file_type type = fs::status(node).type();
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"--build", node, file("data.json").string()},
              {"--export-bank", node, "--data", file("data.dat").string()}}) {
            SCOPED_TRACE(args[0] + " " + node);
            ::alarm(10);
            const ToolRun run = runTool(args);
            ::alarm(0);
            EXPECT_EQ(run.status, 2);
            EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << run.err;
            EXPECT_EQ(fs::status(node).type(), type);
        }
    }
}

// Without a file named, the tools use the data file start-up would read; one
// that is there but cannot be taken is reported (status 1), not passed over
// for the next place, where good files wait here.
TEST_F(BankTools, ABadDataFileOfTheUsersIsReportedByEveryTool) {
    testing::TempFolder shared;
    ::setenv("XDG_DATA_DIRS", shared.path().c_str(), 1);
    writeStore(shared.path() / "lumivane" / "Lumivane.dat", {"System "});
    writeStore(file("Lumivane.dat"), {"Current "});
    writeStore(file("bank.pat"), {"New "});
    writeStore(dataFile(), {"Mine "});
    std::string good = fileBytes(dataFile());
    const struct {
        const char* what;
        std::string bytes; // a FIFO when empty
        const char* says;
    } files[] = {
        {"short", good.substr(0, good.size() - 10), "File error! (the file is damaged"},
        {"not a store", "8 bytes!", "not a Lumivane pattern file"},
        {"FIFO", "", "File error! (it is not a regular file)"},
    };
    for (const auto& bad : files) {
        fs::remove(dataFile());
        if (bad.bytes.empty())
            ASSERT_EQ(::mkfifo(dataFile().c_str(), 0600), 0);
        else
            std::ofstream(dataFile(), std::ios::binary) << bad.bytes;
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"--list"},
              {"--export-bank", file("out.pat").string()},
              {"--merge-bank", file("bank.pat").string()},
              {"--render", file("out.png").string(), "--size", "8x8", "--frames", "1"}}) {
            SCOPED_TRACE(args[0] + std::string(" with a data file that is ") + bad.what);
            ::alarm(10);
            const ToolRun run = runTool(args);
            ::alarm(0);
            EXPECT_EQ(run.status, 1);
            EXPECT_TRUE(run.err.starts_with("lumivane: " + dataFile().string() + ": ")) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_NE(run.err.find(bad.says), std::string::npos) << run.err;
            EXPECT_EQ(run.out, "");
            EXPECT_FALSE(fs::exists(file("out.pat")) || fs::exists(file("out.png")));
        }
    }
}

} // namespace
} // namespace lumivane
