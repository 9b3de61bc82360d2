#include "app/idle/SaverProcess.h"

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace lumivane {
namespace {

pid_t watcherPid = 0;

// Runs in the child between fork and exec.
void dieWithWatcher() {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The watcher may have died before the line above.
    if (::getppid() != watcherPid)
        ::_exit(1);
}

} // namespace

SaverProcess::SaverProcess(const QString& program, const QStringList& arguments, QObject* parent)
    : QObject(parent), program_(program) {
    watcherPid = ::getpid();
    process_.setProgram(program);
    process_.setArguments(arguments);
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setChildProcessModifier(dieWithWatcher);
    connect(&process_, &QProcess::finished, this, &SaverProcess::takeFinish);
    connect(&process_, &QProcess::errorOccurred, this, &SaverProcess::takeError);
}

SaverProcess::~SaverProcess() {
    stop(std::chrono::milliseconds(2000));
}

void SaverProcess::start() {
    if (running())
        return;
    stopping_ = false;
    process_.start();
}

void SaverProcess::stop(std::chrono::milliseconds grace) {
    if (!running())
        return;
    stopping_ = true;
    process_.terminate();
    if (!process_.waitForFinished(static_cast<int>(grace.count()))) {
        process_.kill();
        process_.waitForFinished(-1);
    }
}

void SaverProcess::takeFinish(int exitCode, QProcess::ExitStatus status) {
    if (stopping_)
        return;
    if (status == QProcess::CrashExit)
        emit ended(QStringLiteral("the saver was ended by signal %1").arg(exitCode));
    else if (exitCode != 0)
        emit ended(QStringLiteral("the saver ended with status %1").arg(exitCode));
    else
        emit ended(QString());
}

// A crash is reported by takeFinish; only a saver that never ran is here.
void SaverProcess::takeError(QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart && !stopping_)
        emit ended(
            QStringLiteral("cannot start the saver %1: %2").arg(program_, process_.errorString()));
}

} // namespace lumivane
