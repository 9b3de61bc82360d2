#include "app/idle/IdleWatcher.h"

#include "app/idle/IdleSource.h"
#include "app/idle/SaverProcess.h"

namespace lumivane {

IdleWatcher::IdleWatcher(IdleSource& source, SaverProcess& saver, WaitReason reasonToWait,
                         std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), source_(source), saver_(saver), reasonToWait_(std::move(reasonToWait)),
      timeout_(timeout) {
    connect(&source_, &IdleSource::idle, this, &IdleWatcher::takeIdle);
    connect(&saver_, &SaverProcess::ended, this, &IdleWatcher::takeSaverEnd);
}

void IdleWatcher::start() {
    source_.watch(timeout_);
}

void IdleWatcher::takeIdle() {
    if (saver_.running())
        return;
    const QString reason = reasonToWait_ ? reasonToWait_() : QString();
    if (!reason.isEmpty()) {
        // Said once while the reason lasts, not every idle period.
        if (reason != lastReason_)
            emit note(QStringLiteral("not starting the saver: %1").arg(reason));
        lastReason_ = reason;
        source_.watch(timeout_);
        return;
    }
    lastReason_.clear();
    saver_.start();
}

void IdleWatcher::takeSaverEnd(const QString& fault) {
    if (!fault.isEmpty())
        emit note(fault);
    source_.watch(timeout_);
}

} // namespace lumivane
