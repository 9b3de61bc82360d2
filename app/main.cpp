// The program: long options run as command-line tools without a display; the
// switches start the screen saver's run modes.
#include "app/CommandLine.h"
#include "app/DisplayChoice.h"
#include "app/ProfileStore.h"
#include "app/SaverApp.h"
#include "app/Switches.h"
#include "view/QuitOnSignal.h"

#include <QApplication>
#include <QIcon>

#include <cctype>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

// The id that names the program to desktops: the menu entry's file name, the
// Wayland app id, the AppStream component.
constexpr const char* DESKTOP_ID = "org.lumivane.Lumivane";

// The application object on the display chosen for it. Qt keeps argc and argv
// for the application's life.
std::unique_ptr<QApplication> openApplication(int& argc, char** argv, const std::string& platform) {
    static std::vector<char*> arguments;
    static char platformOption[] = "-platform";
    static std::string platformName;
    static int count = 0;
    arguments.assign(argv, argv + argc);
    if (!platform.empty()) {
        platformName = platform;
        arguments.push_back(platformOption);
        arguments.push_back(platformName.data());
    }
    count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DESKTOP_ID));
    return std::make_unique<QApplication>(count, arguments.data());
}

QIcon programIcon() {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/lumivane-%1.png").arg(side), QSize(side, side));
    return icon;
}

// How the saver was asked to draw into another program's window, for the
// messages: the hack words or the preview switch as given.
struct HostRequest {
    bool onRoot = false;
    std::string origin = "the argument"; // where a window id came from
    std::string word;                    // what needs the host: "/p", "--root", "--window-id"
};

int runSaver(int argc, char** argv, const std::vector<std::string>& args,
             const QString& applicationName, const DisplayOverrides& overrides = {},
             const HostRequest& host = {}) {
    std::unique_ptr<QApplication> gui;
    const RunMode mode = runModeFor(args);
    if (runModeNeedsDisplay(mode)) {
        std::string hostWord = host.word;
        if (mode == RunMode::Preview && hostWord.empty()) {
            const std::string& given = args.front();
            const bool marked = given.starts_with('-') || given.starts_with('/');
            hostWord = {'/', static_cast<char>(std::tolower(given[marked ? 1 : 0]))};
        }
        const DisplayChoice display = chooseDisplay(currentDisplaySituation(), hostWord);
        if (!display.problem.empty()) {
            std::cerr << "lumivane: " << display.problem << '\n';
            return EXIT_FAILED;
        }
        gui = openApplication(argc, argv, display.platform);
        QApplication::setWindowIcon(programIcon());
    }
    SaverApp app(applicationName);
    app.options().previewOnRoot = host.onRoot;
    app.options().previewHandleOrigin = host.origin;
    app.setDisplayOverrides(overrides);
    const bool runLoop = app.startUp(args);
    const int status = runLoop && gui      ? QApplication::exec()
                       : app.startFailed() ? EXIT_FAILED
                                           : EXIT_DONE;
    app.shutDown();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const QString applicationName =
        applicationNameFrom(QString::fromLocal8Bit(argc > 0 ? argv[0] : "lumivane"));
    if (const std::optional<HackCall> hack = hackCallFrom(args)) {
        if (!hack->problem.empty()) {
            std::cerr << "lumivane: " << hack->problem << " (try --help)\n";
            return EXIT_USAGE;
        }
        HostRequest host;
        host.onRoot = hack->root;
        host.word = hack->windowId ? "--window-id" : "--root";
        host.origin = "--window-id";
        const int status =
            runSaver(argc, argv, previewArgsFor(*hack), applicationName, hack->overrides, host);
        endByReceivedSignal();
        return status;
    }
    if (!args.empty() && isLongOption(args[0]))
        return runLongOption(applicationName.toStdString(), args, std::cout, std::cerr);
    // "/s --mode cycle" and the like: a saver always runs, so a word it cannot
    // follow is only reported.
    DisplayOverrides overrides;
    if (runModeFor(args) == RunMode::FullScreen && args.size() > 1) {
        std::string problem;
        overrides = displayOverridesFrom({args.begin() + 1, args.end()}, problem);
        if (!problem.empty())
            std::cerr << "lumivane: " << problem << " (ignored)\n";
    }
    const int status = runSaver(argc, argv, args, applicationName, overrides);
    // After the windows, the store and Qt are gone.
    endByReceivedSignal();
    return status;
}
