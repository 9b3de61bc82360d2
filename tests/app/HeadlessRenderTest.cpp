#include "app/HeadlessRender.h"
#include "ProgramRun.h"
#include "TestFolders.h"
#include "patterns/StoreFile.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lumivane;
using lumivane::testing::TempFolder;

namespace {

using lumivane::testing::fileBytes;

std::optional<RenderRequest> parse(std::vector<std::string> args, std::string* error = nullptr) {
    std::ostringstream err;
    auto r = parseRenderRequest(args, err);
    if (error)
        *error = err.str();
    return r;
}

// A data file with two stored patterns, one named as the dialog stores names.
std::string writeStore(const TempFolder& dir) {
    DataStore store;
    Pattern spiral;
    spiral.setNameText("Spiral ");
    spiral.screenShape = SCREEN_RECTANGLE;
    store.addPattern(spiral);
    Pattern empty;
    empty.setNameText("Empty");
    empty.makeEmpty();
    empty.backgroundColour = 0x00302010;
    store.addPattern(empty);
    const std::string path = dir.slashed() + "bank.pat";
    saveStoreFile(path, store);
    return path;
}

} // namespace

TEST(HeadlessRender, FrameFileNames) {
    struct Case {
        const char* pattern;
        int frame;
        const char* expected; // nullptr: refused
    };
    const Case cases[] = {
        {"out.png", 7, "out.png"},         {"f-%d.png", 12, "f-12.png"},
        {"f-%04d.png", 12, "f-0012.png"},  {"f-%3d.png", 5, "f-  5.png"},
        {"100%%-%d.png", 1, "100%-1.png"}, {"f-%s.png", 0, nullptr},
        {"f-%n.png", 0, nullptr},          {"trailing%", 0, nullptr},
        {"f%d%d.png", 0, nullptr},         {"f-%d-%%d.png", 3, "f-3-%d.png"},
    };
    for (const Case& c : cases) {
        const auto name = frameFileName(c.pattern, c.frame);
        if (c.expected)
            EXPECT_EQ(name, std::optional<std::string>(c.expected)) << c.pattern;
        else
            EXPECT_FALSE(name) << c.pattern;
    }
    EXPECT_TRUE(writesEveryFrame("f-%d.png"));
    EXPECT_FALSE(writesEveryFrame("f-%%d.png"));
}

TEST(HeadlessRender, ParsesOptionsAndRejectsBadInput) {
    const auto r =
        parse({"o.png", "--size", "320x200", "--frames", "3", "--seed", "9", "--no-antialias",
               "--index", "1", "--shape", "three-mirror", "--symmetry", "20"});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->width, 320);
    EXPECT_EQ(r->height, 200);
    EXPECT_EQ(r->frames, 3);
    EXPECT_EQ(r->seed, 9u);
    EXPECT_FALSE(r->antiAlias);
    EXPECT_EQ(r->patternIndex, 1);
    EXPECT_EQ(r->screenShape, SCREEN_THREE_MIRROR);
    EXPECT_EQ(r->symmetry, 20);

    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--size", "10x10"},
        {"o.png", "--size", "0x10"},
        {"o.png", "--size", "10"},
        {"o.png", "--size", "99999x10"},
        {"o.png", "--frames", "0"},
        {"o.png", "--frames", "100001"},
        {"o.png", "--frames"},
        {"o.png", "--seed", "-1"},
        {"o.png", "--index", "x"},
        {"o.png", "--random", "--index", "0"},
        {"o.png", "--colour"},
        {"o.png", "--shape", "square"},
        {"o.png", "--symmetry", "2"},
        {"o.png", "--symmetry", "21"},
        {"o.png", "--size", "16384x16384", "--frames", "100000"},
        {"o.png", "--size", "3840x2160", "--frames", "2072"},
    };
    EXPECT_TRUE(parse({"o.png", "--size", "3840x2160", "--frames", "2071"}));
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(parse(args, &error)) << ::testing::PrintToString(args);
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
    }
}

TEST(HeadlessRender, SameSeedGivesTheSameBytes) {
    TempFolder dir;
    const std::string data = writeStore(dir);
    for (const char* name : {"a.png", "b.png"}) {
        auto r = parse({dir.slashed() + name, "--data", data, "--random", "--seed", "42", "--size",
                        "160x120", "--frames", "20"});
        ASSERT_TRUE(r);
        std::ostringstream err;
        ASSERT_EQ(runRender(*r, err), 0) << err.str();
    }
    EXPECT_EQ(fileBytes(dir.path() / "a.png"), fileBytes(dir.path() / "b.png"));
}

TEST(HeadlessRender, ChoosesPatternsByNameAndIndex) {
    TempFolder dir;
    const std::string data = writeStore(dir);
    struct Case {
        std::vector<std::string> choice;
        int status;
    };
    const Case cases[] = {{{"--pattern", "Spiral "}, 0}, {{"--pattern", "Spiral"}, 0},
                          {{"--pattern", "Empty"}, 0},   {{"--pattern", "Empty "}, 2},
                          {{"--pattern", "spiral"}, 2},  {{"--index", "1"}, 0},
                          {{"--index", "2"}, 2}};
    for (const Case& c : cases) {
        std::vector<std::string> args = {dir.slashed() + "c.png",
                                         "--data",
                                         data,
                                         "--size",
                                         "40x30",
                                         "--frames",
                                         "1",
                                         "--seed",
                                         "1"};
        args.insert(args.end(), c.choice.begin(), c.choice.end());
        auto r = parse(args);
        ASSERT_TRUE(r);
        std::ostringstream err;
        EXPECT_EQ(runRender(*r, err), c.status) << c.choice[1] << err.str();
    }
    // The empty pattern draws a plain background (0x302010 as RGB 10 20 30).
    auto r = parse({dir.slashed() + "e.png", "--data", data, "--index", "1", "--size", "40x30"});
    std::ostringstream err;
    ASSERT_EQ(runRender(*r, err), 0);
    const QImage image(QString::fromStdString(dir.slashed() + "e.png"));
    ASSERT_EQ(image.size(), QSize(40, 30));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(image.pixel(x, y) & 0xFFFFFFu, 0x102030u) << x << "," << y;
}

TEST(HeadlessRender, RefusedAndUnwritableFiles) {
    TempFolder dir;
    const std::string text = dir.slashed() + "notes.txt";
    std::ofstream(text) << "These are not patterns at all.\n";
    auto refused = parse({dir.slashed() + "x.png", "--data", text});
    std::ostringstream err;
    EXPECT_EQ(runRender(*refused, err), 1);
    EXPECT_EQ(err.str(), "lumivane: " + text + ": Sorry, that's not a Lumivane pattern file!\n");

    auto unwritable =
        parse({dir.slashed() + "no/such/folder/x.png", "--data", writeStore(dir), "--frames", "1"});
    std::ostringstream err2;
    EXPECT_EQ(runRender(*unwritable, err2), 2);
    EXPECT_NE(err2.str().find("cannot write"), std::string::npos);
}

// The output is written in full or the render fails with status 2 and the
// reason: a FIFO whose reader goes away (written directly, never replaced by
// a file), and a nearly full file system, where an old file stays as it was.
TEST(HeadlessRender, FailedWritesExitTwo) {
    TempFolder dir;
    const std::string data = writeStore(dir);
    const std::vector<std::string> picture = {"--data", data,      "--random", "--seed", "1",
                                              "--size", "640x480", "--frames", "2"};

    if (!std::filesystem::exists(lumivane::testing::programPath())) {
        ADD_FAILURE() << "program not built";
    } else {
        const std::string fifo = dir.slashed() + "picture.fifo";
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        ::fcntl(reader, F_SETPIPE_SZ, 4096); // smaller than the picture
        std::vector<std::string> args = {"--render", fifo};
        args.insert(args.end(), picture.begin(), picture.end());
        lumivane::testing::ProgramRun render(args);
        int waiting = 0;
        for (int step = 0; step < 500 && waiting == 0 && render.running(); ++step) {
            ::usleep(20000);
            ::ioctl(reader, FIONREAD, &waiting);
        }
        EXPECT_GT(waiting, 0) << "nothing was written to the FIFO";
        ::close(reader); // the reader goes away before the picture is complete
        EXPECT_EQ(render.wait(10), 2) << render.errorText();
        EXPECT_NE(render.errorText().find("lumivane: " + fifo + ": cannot write it: "),
                  std::string::npos)
            << render.errorText();
        EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
    }

    const std::filesystem::path full = dir.path() / "full";
    std::filesystem::create_directory(full);
    if (::mount("tmpfs", full.c_str(), "tmpfs", 0, "size=64k") != 0) {
        std::cout << "[  SKIPPED ] full file system: cannot mount a tmpfs (" << std::strerror(errno)
                  << "; needs root)\n";
        return;
    }
    struct Unmount {
        const char* where;
        ~Unmount() { ::umount2(where, MNT_DETACH); }
    } unmount{full.c_str()};
    std::ofstream(full / "old.png") << "the old picture";
    {
        std::ofstream filler(full / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()))
            filler.flush();
    }
    // Nearly full: the first part of a picture fits.
    std::filesystem::resize_file(full / "filler",
                                 std::filesystem::file_size(full / "filler") - 8192);
    for (const char* name : {"old.png", "new.png"}) {
        std::vector<std::string> args = {(full / name).string()};
        args.insert(args.end(), picture.begin(), picture.end());
        std::ostringstream err;
        EXPECT_EQ(runRender(*parse(args), err), 2) << name;
        EXPECT_NE(err.str().find("cannot write it: No space left on device"), std::string::npos)
            << err.str();
    }
    EXPECT_TRUE(fileBytes(full / "old.png") == "the old picture");
    EXPECT_FALSE(std::filesystem::exists(full / "new.png"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(full), {}), 2);
}
