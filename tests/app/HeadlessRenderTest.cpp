#include "app/HeadlessRender.h"
#include "TestFolders.h"
#include "patterns/StoreFile.h"

#include <gtest/gtest.h>

#include <QImage>

#include <fstream>
#include <sstream>

using namespace lumivane;
using lumivane::testing::TempFolder;

namespace {

std::optional<RenderRequest> parse(std::vector<std::string> args, std::string* error = nullptr) {
    std::ostringstream err;
    auto r = parseRenderRequest(args, err);
    if (error)
        *error = err.str();
    return r;
}

std::string fileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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
        {"o.png", "--frames"},
        {"o.png", "--seed", "-1"},
        {"o.png", "--index", "x"},
        {"o.png", "--random", "--index", "0"},
        {"o.png", "--colour"},
        {"o.png", "--shape", "square"},
        {"o.png", "--symmetry", "2"},
        {"o.png", "--symmetry", "21"},
    };
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
    EXPECT_EQ(err.str(), "Sorry, that's not a Lumivane pattern file!\n");

    auto unwritable =
        parse({dir.slashed() + "no/such/folder/x.png", "--data", writeStore(dir), "--frames", "1"});
    std::ostringstream err2;
    EXPECT_EQ(runRender(*unwritable, err2), 2);
    EXPECT_NE(err2.str().find("cannot write"), std::string::npos);
}
