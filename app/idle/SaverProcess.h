// The full-screen saver as a child process, so that a fault in it never ends
// the watcher. Its output goes where the watcher's goes; it is sent SIGTERM
// when the watcher dies, however that happens.
#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

#include <chrono>

namespace lumivane {

class SaverProcess : public QObject {
    Q_OBJECT

  public:
    SaverProcess(const QString& program, const QStringList& arguments, QObject* parent = nullptr);
    ~SaverProcess() override;

    bool running() const { return process_.state() != QProcess::NotRunning; }
    // Starts the saver; ended() follows when it ends or could not start.
    void start();
    // Ends a running saver: SIGTERM, then SIGKILL after grace. Returns when it
    // has ended; ended() is not emitted.
    void stop(std::chrono::milliseconds grace);

    const QString& program() const { return program_; }

  signals:
    // fault is empty after a normal end (status 0), else says what went wrong.
    void ended(const QString& fault);

  private:
    void takeFinish(int exitCode, QProcess::ExitStatus status);
    void takeError(QProcess::ProcessError error);

    QString program_;
    QProcess process_;
    bool stopping_ = false;
};

} // namespace lumivane
