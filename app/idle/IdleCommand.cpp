#include "app/idle/IdleCommand.h"

#include "app/ExitStatus.h"
#include "app/idle/IdleSource.h"
#include "app/idle/IdleTime.h"
#include "app/idle/IdleWatcher.h"
#include "app/idle/SaverProcess.h"
#include "app/idle/SessionChecks.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>
#include <ostream>

#include <fcntl.h>
#include <unistd.h>

namespace lumivane {
namespace {

constexpr std::chrono::milliseconds SAVER_STOP_GRACE{2000};

int signalPipe[2] = {-1, -1};

void writeSignal(int signal) {
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

// SIGTERM, SIGINT and SIGHUP end the event loop through a pipe read by it.
bool catchEndingSignals(QObject* parent, const std::function<void()>& onSignal) {
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [onSignal] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        onSignal();
    });
    struct sigaction action {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    return true;
}

// The program as a path that still names it after an update replaced the file.
QString ownProgram() {
    const QString fromTest = qEnvironmentVariable(SAVER_PROGRAM_VARIABLE);
    if (!fromTest.isEmpty())
        return fromTest;
    return QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
}

QString shownTime(std::chrono::seconds time) {
    if (time.count() % 60 == 0)
        return QStringLiteral("%1m").arg(time.count() / 60);
    return QStringLiteral("%1s").arg(time.count());
}

} // namespace

int runIdleWatcher(const std::string& programName, const std::string& timeText, std::ostream& out,
                   std::ostream& err) {
    const std::optional<std::chrono::seconds> time = parseIdleTime(timeText);
    if (!time) {
        err << programName << ": --idle takes a time such as 10m or 90s (a bare number counts "
            << "minutes; 1s to 24h), not '" << timeText << "' (try --help)\n";
        return EXIT_USAGE;
    }
    // A plain event loop: the watcher needs no display connection of Qt's.
    static int argc = 1;
    static char name[] = "lumivane";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr)
        application = std::make_unique<QCoreApplication>(argc, argv);

    QString problem;
    std::unique_ptr<IdleSource> source = openIdleSource(problem);
    if (!source) {
        err << programName << ": no idle source in this session: " << problem.toStdString() << '\n';
        return EXIT_FAILED;
    }
    SessionChecks checks;
    SaverProcess saver(ownProgram(), {QStringLiteral("/s")});
    IdleWatcher watcher(
        *source, saver, [&checks] { return checks.reasonToWait(); }, *time);

    int status = EXIT_DONE;
    const auto end = [&](int exitStatus) {
        status = exitStatus;
        saver.stop(SAVER_STOP_GRACE);
        // Queued, so that an end before the loop runs still ends it.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [exitStatus] { QCoreApplication::exit(exitStatus); },
            Qt::QueuedConnection);
    };
    QObject::connect(&watcher, &IdleWatcher::note, [&](const QString& line) {
        err << programName << ": " << line.toStdString() << std::endl;
    });
    QObject::connect(source.get(), &IdleSource::lost, [&](const QString& why) {
        err << programName << ": " << why.toStdString() << "; the idle watcher ends" << std::endl;
        end(EXIT_CONNECTION_LOST);
    });
    QObject guard;
    if (!catchEndingSignals(&guard, [&] { end(EXIT_DONE); }))
        err << programName << ": cannot catch SIGTERM; it will end the watcher at once\n";

    const QStringList checkNames = checks.names();
    out << programName << ": watching " << source->name().toStdString()
        << "; the saver starts after " << shownTime(*time).toStdString()
        << " without input; checks: "
        << (checkNames.isEmpty() ? QStringLiteral("none") : checkNames.join(QStringLiteral(", ")))
               .toStdString()
        << std::endl;
    watcher.start();
    QCoreApplication::exec();
    return status;
}

} // namespace lumivane
