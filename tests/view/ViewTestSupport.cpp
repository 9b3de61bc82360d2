#include "ViewTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

namespace lumivane::test {

namespace {

constexpr const char* SCREENS = R"({"screens": [
    {"name": "left", "x": 0, "y": 0, "width": 800, "height": 600},
    {"name": "right", "x": 800, "y": 0, "width": 640, "height": 480},
    {"name": "dense", "x": 1440, "y": 0, "width": 400, "height": 300, "logicalDpi": 192}
]})";

QString writeScreenLayout() {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("screens.json"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(SCREENS);
    }
    return path;
}

} // namespace

QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "test_view";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        const QString platform = QStringLiteral("offscreen:configfile=") + writeScreenLayout();
        qputenv("QT_QPA_PLATFORM", platform.toLocal8Bit());
        auto* app = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return app;
    }();
    return *application;
}

void spin(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

bool waitUntilExposed(QWidget& widget) {
    QElapsedTimer timer;
    timer.start();
    auto exposed = [&widget] {
        const QWindow* handle = widget.window()->windowHandle();
        return handle != nullptr && handle->isExposed();
    };
    while (!exposed() && timer.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return exposed();
}

QScreen* screenNamed(const QString& name) {
    testApplication();
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == name) {
            return screen;
        }
    }
    return nullptr;
}

ViewWorld::ViewWorld() {
    testApplication();
    auto source = std::make_unique<FakePower>();
    powerSource = source.get();
    power = std::make_unique<DisplayPowerWatch>(std::move(source));
}

ViewEnvironment ViewWorld::environment() {
    return {&display, &store, editorScene.get(), power.get()};
}

void ViewWorld::setDisplayPower(bool on) {
    powerSource->on = on;
    power->check();
}

Pattern emptyPattern(ColourRef background, const char* name) {
    Pattern pattern;
    pattern.makeEmpty();
    pattern.backgroundColour = background;
    pattern.screenShape = SCREEN_RECTANGLE;
    pattern.setNameText(name);
    return pattern;
}

} // namespace lumivane::test
