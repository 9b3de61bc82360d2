#include "view/QuitOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>

namespace lumivane {

namespace {

// A signal handler may only do async-signal-safe work: it writes one byte into
// a pipe, and the event loop, watching the other end, does the rest.
int signalPipe[2] = {-1, -1};

extern "C" void noteSignal(int) {
    const char byte = 1;
    const ssize_t written = write(signalPipe[1], &byte, 1);
    (void)written; // a full pipe already holds a pending quit
}

void drainAndQuit() {
    std::array<char, 64> bytes{};
    while (read(signalPipe[0], bytes.data(), bytes.size()) > 0) {
    }
    QCoreApplication::exit(0);
}

} // namespace

bool quitOnTerminationSignals() {
    if (signalPipe[0] >= 0) {
        return true;
    }
    if (QCoreApplication::instance() == nullptr || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    auto* notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, drainAndQuit);

    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    bool installed = true;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        installed = sigaction(signal, &action, nullptr) == 0 && installed;
    }
    return installed;
}

} // namespace lumivane
