#include "ViewTestSupport.h"

#include "view/PlatformServices.h"
#include "view/SaverSession.h"
#include "view/ViewRules.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace lumivane {
namespace {

using test::spin;
using test::ViewWorld;

// A platform that asks no password, as on Linux, or one that prompts and
// answers as the test says.
class FakePlatform : public PlatformServices {
  public:
    bool nt = true;
    bool protection = false;
    std::vector<bool> answers; // verifyPassword's answers, in order; then true
    std::function<void()> duringPrompt;
    int prompts = 0;
    std::vector<bool> runningMarks;

    bool isNtPlatform() const override { return nt; }
    bool passwordInUse() const override { return protection; }
    bool saverIsRunning() const override { return false; }
    bool verifyPassword(void*) override {
        const int index = prompts++;
        if (duringPrompt) {
            duringPrompt();
        }
        return index < static_cast<int>(answers.size()) ? answers[index] : true;
    }
    void setSaverRunning(bool running) override { runningMarks.push_back(running); }
    void changePassword(long long) override {}
    void lowerPriority() override {}
    bool acquireSaverLock(std::string&) override { return true; }
};

struct Saver {
    explicit Saver(FakePlatform& platform) : session(world.environment(), platform) {
        QObject::connect(&session, &SaverSession::finished, [this] { finished = true; });
        session.open(*world.scene, Pattern{});
    }
    SaverWindow* window(int i) const { return session.windows().at(i); }
    SaverWindow* windowOn(const char* screen) const {
        for (SaverWindow* window : session.windows()) {
            if (window->screen() == test::screenNamed(QString::fromLatin1(screen))) {
                return window;
            }
        }
        return nullptr;
    }

    ViewWorld world;
    SaverSession session;
    bool finished = false;
};

void sendMove(QWidget* window, QPoint global) {
    QMouseEvent move(QEvent::MouseMove, window->mapFromGlobal(QPointF(global)), QPointF(global),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &move);
}

void sendKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(window, &press);
}

void sendClick(QWidget* window, Qt::MouseButton button) {
    const QPointF local(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, local, window->mapToGlobal(local), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
}

TEST(SaverWindow, EveryScreenIsCoveredByAWindowWithAScreenOfItsOwn) {
    FakePlatform platform;
    Saver saver(platform);
    const QList<QScreen*> screens = QGuiApplication::screens();
    const std::vector<SaverWindow*> windows = saver.session.windows();
    ASSERT_EQ(windows.size(), static_cast<std::size_t>(screens.size()));
    EXPECT_EQ(windows.front()->screen(), QGuiApplication::primaryScreen());
    EXPECT_EQ(windows.front()->scene(), saver.world.scene.get());
    std::set<QScreen*> covered;
    std::set<Scene*> scenes;
    for (SaverWindow* window : windows) {
        covered.insert(window->screen());
        scenes.insert(window->scene());
        EXPECT_EQ(window->geometry(), window->screen()->geometry());
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(window->cursor().shape(), Qt::BlankCursor);
        EXPECT_EQ(window->resetIntervalMs(), resetIntervalMs(Pattern{}.resetTime));
        EXPECT_EQ(window->frameIntervalMs(), frameIntervalMs(Pattern{}.speed + 1));
        EXPECT_EQ(window->frameSize(), window->size() * window->screen()->devicePixelRatio());
    }
    EXPECT_EQ(covered.size(), static_cast<std::size_t>(screens.size()));
    EXPECT_EQ(scenes.size(), windows.size());
}

TEST(SaverWindow, PointerMayWanderFiftyPixelsFromItsFirstPosition) {
    const struct {
        const char* what;
        std::vector<QPoint> moves;
        bool closes;
    } cases[] = {
        {"50 along x", {{100, 100}, {150, 100}}, false},
        {"51 along x", {{100, 100}, {151, 100}}, true},
        {"50 along y, back and forth", {{300, 300}, {300, 250}, {300, 350}, {300, 300}}, false},
        {"51 along y", {{300, 300}, {300, 249}}, true},
        {"50 along both", {{200, 200}, {250, 250}, {150, 150}}, false},
        {"drifting small steps",
         {{100, 100}, {110, 100}, {120, 100}, {130, 100}, {140, 100}, {150, 100}, {160, 100}},
         true},
        {"onto the next screen", {{790, 100}, {842, 100}}, true},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        Saver saver(platform);
        for (const QPoint& position : c.moves) {
            QWidget* under = saver.windowOn(position.x() < 800 ? "left" : "right");
            sendMove(under, position);
        }
        EXPECT_EQ(saver.session.isClosing(), c.closes) << c.what;
    }
}

TEST(SaverWindow, AnyKeyOrButtonOnAnyScreenEndsTheSaver) {
    const std::vector<std::pair<const char*, std::function<void(QWidget*)>>> inputs{
        {"letter", [](QWidget* w) { sendKey(w, Qt::Key_A); }},
        {"shift alone", [](QWidget* w) { sendKey(w, Qt::Key_Shift, Qt::ShiftModifier); }},
        {"alt+tab", [](QWidget* w) { sendKey(w, Qt::Key_Tab, Qt::AltModifier); }},
        {"tab", [](QWidget* w) { sendKey(w, Qt::Key_Tab); }},
        {"shift+tab", [](QWidget* w) { sendKey(w, Qt::Key_Backtab, Qt::ShiftModifier); }},
        {"left button", [](QWidget* w) { sendClick(w, Qt::LeftButton); }},
        {"middle button", [](QWidget* w) { sendClick(w, Qt::MiddleButton); }},
        {"right button", [](QWidget* w) { sendClick(w, Qt::RightButton); }},
    };
    for (const auto& [what, input] : inputs) {
        for (int screen : {0, 1}) {
            FakePlatform platform;
            Saver saver(platform);
            input(saver.window(screen));
            EXPECT_TRUE(saver.session.isClosing()) << what << " on screen " << screen;
        }
    }
}

TEST(SaverWindow, ClosesEveryWindowOnTheNextFrameTickFortyMillisecondsLater) {
    FakePlatform platform;
    Saver saver(platform);
    QPointer<SaverWindow> first = saver.window(0);
    QPointer<SaverWindow> second = saver.window(1);
    sendKey(first, Qt::Key_Space);
    EXPECT_EQ(first->frameIntervalMs(), CLOSE_DELAY_MS);
    EXPECT_TRUE(first->isPaused());
    EXPECT_TRUE(first->isVisible());
    spin(20);
    EXPECT_FALSE(first.isNull());
    EXPECT_FALSE(saver.finished);
    spin(150);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(saver.finished);
}

TEST(SaverWindow, AKeyEndsItAtOnceWhileTheDisplayIsPoweredDown) {
    FakePlatform platform;
    Saver saver(platform);
    test::waitUntilExposed(*saver.window(0));
    saver.world.setDisplayPower(false);
    for (SaverWindow* window : saver.session.windows()) {
        EXPECT_FALSE(window->frameTimerRunning());
    }
    sendKey(saver.window(0), Qt::Key_A);
    spin(150);
    EXPECT_TRUE(saver.finished);
}

TEST(SaverWindow, RefusesToBeClosedFromOutside) {
    FakePlatform platform;
    Saver saver(platform);
    SaverWindow* window = saver.window(0);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(saver.session.isClosing());
}

TEST(SaverWindow, LosingActivationToAnotherProgramsWindowEndsIt) {
    FakePlatform platform;
    Saver saver(platform);
    SaverWindow* first = saver.window(0);
    first->activateWindow();
    spin(20);
    ASSERT_TRUE(first->isActiveWindow());

    // Activation moving between the saver's own windows is no reason to end.
    saver.window(1)->activateWindow();
    spin(20);
    EXPECT_FALSE(saver.session.isClosing());

    QWidget other;
    other.setGeometry(10, 10, 50, 50);
    other.show();
    other.activateWindow();
    spin(20);
    EXPECT_TRUE(saver.session.isClosing());
}

TEST(SaverWindow, WithoutPasswordProtectionThePlatformIsNeitherAskedNorMarked) {
    FakePlatform nt;
    {
        Saver saver(nt);
        sendKey(saver.window(0), Qt::Key_A);
        EXPECT_TRUE(saver.session.isClosing());
    }
    EXPECT_EQ(nt.prompts, 0);
    EXPECT_TRUE(nt.runningMarks.empty());

    FakePlatform unprotected;
    unprotected.nt = false;
    {
        Saver saver(unprotected);
        EXPECT_TRUE(saver.session.isPasswordFree());
        sendKey(saver.window(0), Qt::Key_A);
        EXPECT_TRUE(saver.session.isClosing());
    }
    EXPECT_EQ(unprotected.prompts, 1);
    EXPECT_TRUE(unprotected.runningMarks.empty());
}

TEST(SaverWindow, RefusedPasswordKeepsTheSaverRunningWithAFreshStart) {
    FakePlatform platform;
    platform.nt = false;
    platform.protection = true;
    platform.answers = {false, true};
    auto saver = std::make_unique<Saver>(platform);
    EXPECT_EQ(platform.runningMarks, std::vector<bool>{true});
    SaverWindow* first = saver->window(0);
    SaverWindow* second = saver->window(1);

    // Input under the prompt starts no second check, and the views are paused.
    std::vector<bool> pausedUnderPrompt;
    platform.duringPrompt = [&] {
        pausedUnderPrompt = {first->isPaused(), second->isPaused()};
        sendKey(first, Qt::Key_B);
        sendClick(second, Qt::LeftButton);
        sendMove(first, QPoint(700, 500));
        QCursor::setPos(QPoint(400, 300));
    };
    sendMove(first, QPoint(10, 10));
    saver->world.now += 1234;
    sendMove(first, QPoint(100, 10));
    EXPECT_EQ(platform.prompts, 1);
    EXPECT_EQ(pausedUnderPrompt, (std::vector<bool>{true, true}));
    EXPECT_FALSE(saver->session.isClosing());
    EXPECT_FALSE(first->isPaused());
    EXPECT_FALSE(second->isPaused());

    // The pointer test starts again from where the pointer was after the prompt.
    EXPECT_EQ(saver->session.lastCursor(), QCursor::pos());
    const QPoint after = QCursor::pos();
    platform.duringPrompt = nullptr;
    sendMove(first, after + QPoint(50, -50));
    EXPECT_EQ(platform.prompts, 1);
    sendMove(first, after + QPoint(51, 0));
    EXPECT_EQ(platform.prompts, 2);
    EXPECT_TRUE(saver->session.isClosing());

    saver.reset();
    EXPECT_EQ(platform.runningMarks, (std::vector<bool>{true, false}));
}

TEST(SaverWindow, RefusedPasswordResetsEveryView) {
    FakePlatform platform;
    platform.nt = false;
    platform.protection = true;
    platform.answers = {false};
    Saver saver(platform);
    for (SaverWindow* window : saver.session.windows()) {
        window->setClock([] { return 5555u; });
    }
    sendKey(saver.window(1), Qt::Key_A);
    for (SaverWindow* window : saver.session.windows()) {
        EXPECT_EQ(window->resetTick(), 5555u);
    }
}

} // namespace
} // namespace lumivane
