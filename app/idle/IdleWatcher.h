// The watcher's course: wait for the idle source, look at the session's
// checks, start the saver, and after it has ended wait for the next idle time
// counted from its end. A saver that fails is reported and started again only
// after another full idle time, so a broken one cannot run in a loop.
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

namespace lumivane {

class IdleSource;
class SaverProcess;

// What may stop the saver from starting although the session is idle: an
// empty answer lets it start.
using WaitReason = std::function<QString()>;

class IdleWatcher : public QObject {
    Q_OBJECT

  public:
    IdleWatcher(IdleSource& source, SaverProcess& saver, WaitReason reasonToWait,
                std::chrono::milliseconds timeout, QObject* parent = nullptr);

    void start();

  signals:
    // A line for the session's log.
    void note(const QString& line);

  private:
    void takeIdle();
    void takeSaverEnd(const QString& fault);

    IdleSource& source_;
    SaverProcess& saver_;
    WaitReason reasonToWait_;
    std::chrono::milliseconds timeout_;
    QString lastReason_;
};

} // namespace lumivane
