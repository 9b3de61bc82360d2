#include "ViewTestSupport.h"

#include "engine/Random.h"
#include "engine/Renderer.h"
#include "view/KaleidoView.h"
#include "view/NameOverlay.h"
#include "view/ViewRules.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace lumivane {
namespace {

using test::spin;
using test::ViewWorld;

std::unique_ptr<KaleidoView> showView(ViewWorld& world, const Pattern& pattern,
                                      QSize size = QSize(320, 240)) {
    auto view = std::make_unique<KaleidoView>(world.environment());
    view->setClock([&world] { return world.now; });
    view->attachScene(world.scene.get(), pattern);
    view->resize(size);
    view->show();
    test::waitUntilExposed(*view);
    return view;
}

Pattern patternNamed(const char* name, int speed) {
    Pattern pattern;
    pattern.setNameText(name);
    pattern.speed = speed;
    return pattern;
}

void storeThree(DataStore& store) {
    store.addPattern(patternNamed("First", 10));
    store.addPattern(patternNamed("Second", 20));
    store.addPattern(patternNamed("Third", 30));
}

TEST(KaleidoView, SizeChangeStartsFramesAtSpeedAndResetAtSpeedPlusOne) {
    ViewWorld world;
    const struct {
        int speed;
        int afterSizeMs;
        int afterResetMs;
    } cases[] = {{0, FRAME_INTERVAL_STOPPED_MS, 535}, {50, 290, 285}, {100, 40, 35}};
    for (const auto& c : cases) {
        Pattern pattern;
        pattern.speed = c.speed;
        auto view = showView(world, pattern);
        EXPECT_EQ(view->frameIntervalMs(), c.afterSizeMs) << "speed " << c.speed;
        view->reset();
        EXPECT_EQ(view->frameIntervalMs(), c.afterResetMs) << "speed " << c.speed;
    }
}

// Speeds from files of elsewhere hold any int32: speed + 1 after a reset must
// not overflow (the sanitizer build stops on it) but give the fastest timer,
// in every mode and in a dialog's preview; a most negative speed is stopped.
TEST(KaleidoView, ExtremeSpeedsGiveTheFastestOrNoFrames) {
    constexpr std::int32_t HIGHEST = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t LOWEST = std::numeric_limits<std::int32_t>::min();
    for (const std::int32_t speed : {HIGHEST, LOWEST}) {
        const int expected = speed > 0 ? MIN_TIMER_INTERVAL_MS : FRAME_INTERVAL_STOPPED_MS;
        for (const int mode :
             std::initializer_list<int>{FULLSCREEN_USE_CURRENT, FULLSCREEN_USE_RANDOM,
                                        FULLSCREEN_AUTO_GENERATE, FULLSCREEN_CYCLE, -1}) {
            ViewWorld world;
            world.store.addPattern(patternNamed("Stored", speed));
            world.store.current.speed = speed;
            world.store.fullScreenMode = mode < 0 ? FULLSCREEN_CYCLE : mode;
            auto view = showView(world, patternNamed("Own", speed));
            EXPECT_EQ(view->frameIntervalMs(), expected) << speed;
            view->setEditorPreview(mode < 0);
            view->reset();
            EXPECT_EQ(view->frameIntervalMs(), expected) << speed << " in mode " << mode;
        }
    }
}

TEST(KaleidoView, FrameFollowsEverySizeChange) {
    ViewWorld world;
    auto view = showView(world, Pattern{}, QSize(320, 240));
    ASSERT_TRUE(view->hasFrameSize());
    EXPECT_EQ(view->frameSize(), QSize(320, 240));
    view->resize(200, 100);
    EXPECT_EQ(view->frameSize(), QSize(200, 100));
    EXPECT_EQ(world.scene->geometry().width, 200);
    EXPECT_EQ(world.scene->geometry().height, 100);
}

TEST(KaleidoView, FrameHasTheScreensDevicePixels) {
    ViewWorld world;
    QScreen* dense = test::screenNamed(QStringLiteral("dense"));
    ASSERT_NE(dense, nullptr);
    ASSERT_EQ(dense->devicePixelRatio(), 2.0);
    auto view = std::make_unique<KaleidoView>(world.environment());
    view->attachScene(world.scene.get(), Pattern{});
    view->setScreen(dense);
    view->setGeometry(QRect(dense->geometry().topLeft(), QSize(200, 100)));
    view->show();
    EXPECT_EQ(view->frameSize(), QSize(400, 200));
    EXPECT_EQ(view->frameRatio(), 2.0);
    EXPECT_EQ(world.scene->geometry().width, 400);
}

TEST(KaleidoView, ResetTimerKeepsTheStartUpPeriod) {
    ViewWorld world;
    storeThree(world.store);
    for (int i = 0; i < world.store.count(); ++i) {
        world.store.patternAt(i)->resetTime = 7 + i;
    }
    world.store.fullScreenMode = FULLSCREEN_CYCLE;
    Pattern startUp;
    startUp.resetTime = 5;
    auto view = showView(world, startUp);
    EXPECT_EQ(view->resetIntervalMs(), -1);
    view->armResetTimer();
    for (int i = 0; i < 4; ++i) {
        view->reset();
        EXPECT_EQ(view->resetIntervalMs(), 5000);
    }
}

TEST(KaleidoView, UseCurrentRestartsTheViewsOwnPattern) {
    ViewWorld world;
    storeThree(world.store);
    const Pattern own = patternNamed("Own", 60);
    auto view = showView(world, own);
    world.now = 4242;
    view->reset();
    EXPECT_EQ(view->pattern(), own);
    EXPECT_EQ(view->resetTick(), 4242u);
    EXPECT_EQ(view->frameIntervalMs(), frameIntervalMs(61));
    EXPECT_GT(world.scene->pieceCount(), 0);
}

TEST(KaleidoView, UseRandomShowsARandomStoredPatternAtTheStoresSpeed) {
    ViewWorld world;
    storeThree(world.store);
    world.store.current.speed = 80;
    world.store.fullScreenMode = FULLSCREEN_USE_RANDOM;
    auto view = showView(world, patternNamed("Own", 60));
    for (std::uint32_t seed : {1u, 2u, 77u, 12345u}) {
        RandomSource predicted;
        predicted.seed(seed);
        const int index = predicted.draw() % 3;
        sharedRandom().seed(seed);
        view->reset();
        EXPECT_EQ(view->pattern(), *world.store.patternAt(index)) << "seed " << seed;
        EXPECT_EQ(view->frameIntervalMs(), frameIntervalMs(81));
    }
}

TEST(KaleidoView, AutoGenerateMakesANewDesignAtTheStoresSpeed) {
    ViewWorld world;
    world.store.current.speed = 70;
    world.store.fullScreenMode = FULLSCREEN_AUTO_GENERATE;
    const Pattern own = patternNamed("Own", 20);
    auto view = showView(world, own);
    sharedRandom().seed(99);
    view->reset();
    EXPECT_NE(view->pattern(), own);
    EXPECT_EQ(view->pattern().speed, 20);
    EXPECT_EQ(view->frameIntervalMs(), frameIntervalMs(71));
}

// The generator keeps the overwritten pattern's name; the overlay must not
// put it over a pattern it does not name, and the stored pattern keeps it.
TEST(KaleidoView, AutoGenerateShowsNoNameOverTheGeneratedPattern) {
    QImage frames[2];
    for (const bool showName : {false, true}) {
        ViewWorld world;
        world.display.showPatternName = showName;
        world.store.fullScreenMode = FULLSCREEN_AUTO_GENERATE;
        world.store.addPattern(patternNamed("Rose Window", 20));
        auto view = showView(world, *world.store.patternAt(0), QSize(600, 80));
        sharedRandom().seed(99);
        view->reset();
        view->redraw();
        EXPECT_EQ(view->pattern().nameText(), "");
        EXPECT_EQ(world.store.patternAt(0)->nameText(), "Rose Window");
        frames[showName ? 1 : 0] = view->shownFrame();
    }
    ASSERT_FALSE(frames[0].isNull());
    EXPECT_EQ(frames[0], frames[1]);
}

TEST(KaleidoView, CycleStepsThroughTheStoreInOrderFromARandomStartAndWraps) {
    ViewWorld world;
    storeThree(world.store);
    world.store.fullScreenMode = FULLSCREEN_CYCLE;
    const std::vector<std::string> names{"First", "Second", "Third"};
    for (std::uint32_t seed : {3u, 8u, 1000u}) {
        RandomSource predicted;
        predicted.seed(seed);
        const int start = predicted.draw() % 3;
        sharedRandom().seed(seed);
        auto view = showView(world, patternNamed("Own", 60));
        for (int step = 1; step <= 5; ++step) {
            view->reset();
            const int expected = (start + step) % 3;
            EXPECT_EQ(view->pattern().nameText(), names[expected]) << "seed " << seed;
            EXPECT_EQ(view->cycleIndex(), expected);
            // The frame rate follows each shown pattern.
            EXPECT_EQ(view->frameIntervalMs(), frameIntervalMs(10 * (expected + 1) + 1));
        }
    }
}

TEST(KaleidoView, ModesNeedingStoredPatternsFallBackToTheOwnPatternOnAnEmptyStore) {
    for (int mode : {FULLSCREEN_USE_RANDOM, FULLSCREEN_CYCLE}) {
        ViewWorld world;
        world.store.fullScreenMode = mode;
        const Pattern own = patternNamed("Own", 40);
        auto view = showView(world, own);
        view->reset();
        EXPECT_EQ(view->pattern(), own);
        EXPECT_EQ(view->frameIntervalMs(), frameIntervalMs(41));
        EXPECT_EQ(view->cycleIndex(), -1);
    }
}

TEST(KaleidoView, UnknownModeChangesNothingButTheResetTick) {
    ViewWorld world;
    storeThree(world.store);
    world.store.fullScreenMode = 7;
    const Pattern own = patternNamed("Own", 0);
    auto view = showView(world, own);
    world.now = 777;
    view->reset();
    EXPECT_EQ(view->pattern(), own);
    EXPECT_EQ(view->frameIntervalMs(), FRAME_INTERVAL_STOPPED_MS);
    EXPECT_EQ(world.scene->pieceCount(), 0);
    EXPECT_EQ(view->resetTick(), 777u);
}

TEST(KaleidoView, EditorPreviewsRestartTheirOwnPatternWhateverTheMode) {
    ViewWorld world;
    storeThree(world.store);
    world.store.fullScreenMode = FULLSCREEN_CYCLE;
    const Pattern own = patternNamed("Own", 50);
    auto view = showView(world, own);
    view->setEditorPreview(true);
    world.now = 999;
    view->reset();
    EXPECT_EQ(view->pattern(), own);
    EXPECT_EQ(view->frameIntervalMs(), frameIntervalMs(51));
    EXPECT_GT(world.scene->pieceCount(), 0);
    EXPECT_EQ(view->cycleIndex(), -1);
    EXPECT_NE(view->resetTick(), 999u);

    // A preview of the layer editor's scene leaves it alone.
    auto editor = std::make_unique<KaleidoView>(world.environment());
    editor->attachScene(world.editorScene.get(), own);
    editor->resize(100, 100);
    editor->show();
    editor->setEditorPreview(true);
    editor->reset();
    EXPECT_EQ(editor->frameIntervalMs(), frameIntervalMs(50));
    EXPECT_EQ(world.editorScene->pieceCount(), 0);
}

TEST(KaleidoView, PausedViewIgnoresBothTimersAndResumesOnTheNextTick) {
    ViewWorld world;
    Pattern pattern;
    pattern.resetTime = 1;
    auto view = showView(world, pattern);
    view->armResetTimer();
    view->reset(); // 35 ms frames
    spin(120);
    ASSERT_GT(view->framesDrawn(), 0);
    view->setRunning(false);
    // The frame the last tick before the pause asked for (update() paints later)
    // still draws; what is measured is what the timers do from here on.
    spin(50);
    const long long frames = view->framesDrawn();
    const std::uint32_t resetTick = view->resetTick();
    world.now += 5000;
    spin(1100);
    EXPECT_EQ(view->framesDrawn(), frames);
    EXPECT_EQ(view->resetTick(), resetTick);
    view->setRunning(true);
    EXPECT_EQ(view->framesDrawn(), frames);
    spin(120);
    EXPECT_GT(view->framesDrawn(), frames);
}

// Counts pixels of the given colour in the band where the name is written.
int nameBandPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = NAME_TOP; y < NAME_TOP + NAME_FONT_HEIGHT; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST(KaleidoView, NameOverlayNeedsTheOptionAWideClientAndARecentReset) {
    const struct {
        const char* what;
        bool option;
        int width;
        std::uint32_t sinceReset;
        bool shown;
    } cases[] = {
        {"wide, fresh", true, 551, 0, true},         {"exactly 550", true, 550, 0, false},
        {"option off", false, 800, 0, false},        {"9999 ms later", true, 800, 9999, true},
        {"10000 ms later", true, 800, 10000, false},
    };
    for (const auto& c : cases) {
        ViewWorld world;
        world.display.showPatternName = c.option;
        auto view = showView(world, test::emptyPattern(0x000000, "Night Sky"), QSize(c.width, 80));
        view->reset();
        world.now += c.sinceReset;
        view->redraw();
        EXPECT_EQ(view->nameOverlayDue(), c.shown) << c.what;
        const int light = nameBandPixels(view->shownFrame(), qRgb(0xE0, 0xE0, 0xE0));
        EXPECT_EQ(light > 0, c.shown) << c.what;
    }
}

TEST(KaleidoView, NameIsBlackOnLightBackgrounds) {
    ViewWorld world;
    world.display.showPatternName = true;
    auto view = showView(world, test::emptyPattern(0x808080, "Daylight"), QSize(600, 80));
    view->reset();
    view->redraw();
    EXPECT_GT(nameBandPixels(view->shownFrame(), qRgb(0, 0, 0)), 0);
    EXPECT_EQ(nameBandPixels(view->shownFrame(), qRgb(0xE0, 0xE0, 0xE0)), 0);
}

QFont nameFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setItalic(true);
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSizeForCell(font, NAME_FONT_HEIGHT));
    return font;
}

// The bounding box of the pixels that are not black.
QRect inkOf(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

QImage overlaid(QSize logical, qreal ratio, qreal imageRatio, const QFont& font) {
    QImage image(logical * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(imageRatio);
    image.fill(Qt::black);
    writeNameOverlay(image, ratio, QStringLiteral("Night Sky"), &font, NAME_LIGHT);
    return image;
}

// On a scaled screen the name sits where it would on an unscaled screen of the same logical
// size, in a cell of NAME_FONT_HEIGHT logical pixels, whatever ratio the image itself carries.
TEST(NameOverlay, IsLaidOutInLogicalPixels) {
    test::testApplication();
    const QFont font = nameFont();
    const QSize logical(800, 60);
    const QRect plain = inkOf(overlaid(logical, 1.0, 1.0, font));
    ASSERT_FALSE(plain.isEmpty());
    EXPECT_GE(plain.top(), NAME_TOP);
    EXPECT_LT(plain.bottom(), NAME_TOP + NAME_FONT_HEIGHT);
    EXPECT_NEAR(plain.center().x(), logical.width() / 2, 4); // centred by its advance
    const struct { qreal ratio, imageRatio; } cases[] = {{2.0, 2.0}, {2.0, 1.0}, {1.5, 1.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "ratio " << c.ratio << ", image " << c.imageRatio);
        const QRect ink = inkOf(overlaid(logical, c.ratio, c.imageRatio, font));
        const qreal slack = 2 * c.ratio; // glyphs are hinted at each size
        EXPECT_NEAR(ink.left(), plain.left() * c.ratio, slack);
        EXPECT_NEAR(ink.right() + 1, (plain.right() + 1) * c.ratio, slack);
        EXPECT_NEAR(ink.top(), plain.top() * c.ratio, slack);
        EXPECT_NEAR(ink.bottom() + 1, (plain.bottom() + 1) * c.ratio, slack);
    }
}

TEST(KaleidoView, NameIsDecodedFromWindows1252) {
    ViewWorld world;
    world.display.showPatternName = true;
    world.display.nameFont = nameFont();
    auto view = showView(world,
                         test::emptyPattern(0x000000, "\x93"
                                                      "Caf\xE9\x94 \x80"),
                         QSize(600, 80));
    view->reset();
    view->redraw();
    QImage expected(view->shownFrame().size(), QImage::Format_RGB32);
    expected.fill(Qt::black);
    writeNameOverlay(expected, view->shownFrame().devicePixelRatio(),
                     QString::fromUtf8("\u201CCaf\u00E9\u201D \u20AC"), &*world.display.nameFont,
                     NAME_LIGHT);
    EXPECT_EQ(view->shownFrame(), expected);
}

TEST(KaleidoView, AntiAliasingIsOffOnlyInFullScreenWithTheOptionOff) {
    ViewWorld world;
    KaleidoView view(world.environment());
    const struct {
        bool fullScreen;
        bool antiAlias;
        bool expected;
    } cases[] = {
        {false, false, true}, {false, true, true}, {true, true, true}, {true, false, false}};
    for (const auto& c : cases) {
        world.display.fullScreen = c.fullScreen;
        world.display.antiAlias = c.antiAlias;
        EXPECT_EQ(view.antiAliasing(), c.expected);
    }
}

} // namespace
} // namespace lumivane

namespace lumivane {
namespace {

using test::spin;
using test::ViewWorld;

// A copy of all the pixels of the widget's window, as the window system shows them.
QImage windowImage(QWidget& widget) {
    QPaintDevice* device = widget.window()->backingStore()->paintDevice();
    return static_cast<QImage*>(device)->convertToFormat(QImage::Format_RGB32);
}

// The frame the view should show: the same pattern, loaded from the same seed,
// after the same number of frames.
QImage expectedFrame(const Pattern& pattern, QSize size, std::uint32_t seed, long long frames) {
    Scene scene;
    scene.loadPattern(pattern, true);
    scene.setViewport(0, 0, size.width(), size.height());
    sharedRandom().seed(seed);
    scene.loadPattern(pattern, false);
    QImage image(size, QImage::Format_RGB32);
    Surface surface{reinterpret_cast<std::uint32_t*>(image.bits()), size.width(), size.height(),
                    static_cast<int>(image.bytesPerLine() / 4)};
    for (long long i = 0; i < frames; ++i) {
        scene.rotate(pattern.rotation);
        scene.renderFrame(surface, true);
    }
    return image;
}

// Wherever the view lives, a frame is the renderer's output written straight
// into the window's pixels at the view's place, and nothing around it changes.
TEST(KaleidoView, FramesGoStraightIntoTheWindowsPixels) {
    const struct {
        const char* what;
        const char* screen;
        QPoint position; // in a parent window; (-1, -1): the view is a window itself
        bool sibling;    // another view beside it in the same window
    } cases[] = {
        {"window", "left", {-1, -1}, false},
        {"window on a dense screen", "dense", {-1, -1}, false},
        {"child of a dialog", "left", {13, 7}, false},
        {"one of two previews", "left", {150, 20}, true},
        {"child on a dense screen", "dense", {5, 9}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ViewWorld world;
        QScreen* screen = test::screenNamed(QString::fromLatin1(c.screen));
        const bool child = c.position.x() >= 0;
        QWidget parent;
        parent.setScreen(screen);
        parent.setGeometry(QRect(screen->geometry().topLeft(), QSize(300, 160)));
        parent.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(1, 2, 3));
        parent.setPalette(palette);
        KaleidoView view(world.environment(), child ? &parent : nullptr);
        Scene siblingScene;
        KaleidoView other(world.environment(), &parent);
        Pattern pattern;
        view.attachScene(world.scene.get(), pattern);
        other.attachScene(&siblingScene, pattern);
        if (child) {
            view.setGeometry(QRect(c.position, QSize(120, 90)));
            other.setGeometry(QRect(QPoint(10, 60), QSize(100, 80)));
            other.setVisible(c.sibling);
            parent.show();
        } else {
            view.setScreen(screen);
            view.setGeometry(QRect(screen->geometry().topLeft(), QSize(120, 90)));
            view.show();
        }
        ASSERT_TRUE(test::waitUntilExposed(view));
        sharedRandom().seed(31);
        view.reset();
        const long long before = view.framesDrawn();
        view.redraw();
        EXPECT_TRUE(view.drewDirectly());
        EXPECT_EQ(view.frameSize(), QSize(120, 90) * screen->devicePixelRatio());
        const QImage expected =
            expectedFrame(pattern, view.frameSize(), 31, view.framesDrawn() - before);
        QImage shown = view.shownFrame();
        shown.setDevicePixelRatio(1.0);
        EXPECT_EQ(shown, expected);
        if (child) {
            // The parent's own pixels right around the view are untouched.
            const QImage all = windowImage(parent);
            const qreal ratio = screen->devicePixelRatio();
            const QRect around =
                QRect(view.geometry().topLeft() * ratio, view.frameSize()).adjusted(-1, -1, 1, 1);
            for (const QPoint p :
                 {around.topLeft(), around.bottomRight(), around.topRight(), around.bottomLeft()})
                EXPECT_EQ(all.pixel(p), qRgb(1, 2, 3)) << p.x() << "," << p.y();
        }
    }
}

// grab() paints into an image of its own: it gets a frame, and the window keeps its pixels.
TEST(KaleidoView, GrabbingLeavesTheWindowAlone) {
    ViewWorld world;
    auto view = showView(world, Pattern{}, QSize(160, 100));
    view->reset();
    view->redraw();
    const QImage shown = view->shownFrame();
    const QImage grabbed = view->grab().toImage();
    EXPECT_FALSE(view->drewDirectly());
    EXPECT_EQ(grabbed.size(), QSize(160, 100));
    EXPECT_NE(grabbed.convertToFormat(QImage::Format_RGB32), shown); // a newer frame
    EXPECT_EQ(view->shownFrame(), shown);
}

// Whatever hides the picture, the frame timer stands still until it can be
// seen again; resets keep their schedule and only rebuild the scene.
TEST(KaleidoView, NoFramesWhileNobodyCanSeeThem) {
    const struct {
        const char* what;
        std::function<void(ViewWorld&, QWidget&)> hide;
        std::function<void(ViewWorld&, QWidget&)> show;
    } cases[] = {
        {"display powered down", [](ViewWorld& w, QWidget&) { w.setDisplayPower(false); },
         [](ViewWorld& w, QWidget&) { w.setDisplayPower(true); }},
        {"host window hidden",
         [](ViewWorld&, QWidget& v) { static_cast<KaleidoView&>(v).setHostShowing(false); },
         [](ViewWorld&, QWidget& v) { static_cast<KaleidoView&>(v).setHostShowing(true); }},
        {"view hidden", [](ViewWorld&, QWidget& v) { v.hide(); },
         [](ViewWorld&, QWidget& v) { v.show(); }},
        {"window minimised", [](ViewWorld&, QWidget& v) { v.showMinimized(); },
         [](ViewWorld&, QWidget& v) { v.showNormal(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ViewWorld world;
        Pattern pattern;
        pattern.resetTime = 1;
        auto view = showView(world, pattern);
        view->armResetTimer();
        view->reset();
        spin(120);
        ASSERT_TRUE(view->isSeen());
        ASSERT_GT(view->framesDrawn(), 0);

        c.hide(world, *view);
        spin(20);
        EXPECT_FALSE(view->isSeen());
        EXPECT_FALSE(view->frameTimerRunning());
        const long long frames = view->framesDrawn();
        const std::uint32_t resetTick = view->resetTick();
        world.now += 1000;
        spin(1150); // the reset timer fires once
        EXPECT_EQ(view->framesDrawn(), frames);
        EXPECT_NE(view->resetTick(), resetTick);
        EXPECT_FALSE(view->frameTimerRunning());
        EXPECT_EQ(view->frameIntervalMs(), frameIntervalMs(pattern.speed + 1));

        c.show(world, *view);
        test::waitUntilExposed(*view);
        spin(150);
        EXPECT_TRUE(view->isSeen());
        EXPECT_TRUE(view->frameTimerRunning());
        EXPECT_GT(view->framesDrawn(), frames);
    }
}

} // namespace
} // namespace lumivane
