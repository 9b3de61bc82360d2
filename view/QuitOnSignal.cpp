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
int receivedSignal = 0;

extern "C" void noteSignal(int signal) {
    const char byte = static_cast<char>(signal);
    const ssize_t written = write(signalPipe[1], &byte, 1);
    (void)written; // a full pipe already holds a pending quit
}

void drainAndQuit() {
    std::array<char, 64> bytes{};
    ssize_t got = 0;
    while ((got = read(signalPipe[0], bytes.data(), bytes.size())) > 0) {
        if (receivedSignal == 0) {
            receivedSignal = bytes[0];
        }
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

void endByReceivedSignal() {
    if (receivedSignal == 0) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(receivedSignal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, receivedSignal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(receivedSignal);
}

} // namespace lumivane
