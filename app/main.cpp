// The program: long options run as command-line tools without a display; the
// switches start the screen saver's run modes.
#include "app/CommandLine.h"
#include "app/ProfileStore.h"
#include "app/SaverApp.h"
#include "app/Switches.h"

#include <QApplication>
#include <QIcon>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

// Qt aborts the process when it finds no display; say so plainly instead.
bool displayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QIcon programIcon() {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/lumivane-%1.png").arg(side), QSize(side, side));
    return icon;
}

int runSaver(int argc, char** argv, const std::vector<std::string>& args,
             const QString& applicationName, const DisplayOverrides& overrides = {},
             bool previewOnRoot = false) {
    std::unique_ptr<QApplication> gui;
    if (runModeNeedsDisplay(runModeFor(args))) {
        if (!displayAvailable()) {
            std::cerr << "lumivane: no display to draw on (DISPLAY is not set)\n";
            return 1;
        }
        gui = std::make_unique<QApplication>(argc, argv);
        QApplication::setWindowIcon(programIcon());
    }
    SaverApp app(applicationName);
    app.options().previewOnRoot = previewOnRoot;
    app.setDisplayOverrides(overrides);
    const bool runLoop = app.startUp(args);
    const int status = runLoop && gui ? QApplication::exec() : 0;
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
        return runSaver(argc, argv, previewArgsFor(*hack), applicationName, hack->overrides,
                        hack->root);
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
    return runSaver(argc, argv, args, applicationName, overrides);
}
