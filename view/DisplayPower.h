// Whether the display shows anything at all: off while the monitor saves power (DPMS
// standby, suspend or off). Views stop drawing while it is off. The state is asked of a
// source every few seconds, and only while some view is watching; tests hand in a source
// of their own, as virtual X servers have no power management.
#pragma once

#include <QObject>
#include <QTimer>

#include <memory>

namespace lumivane {

// How often the display's power state is asked for while a view is watching.
constexpr int DISPLAY_POWER_POLL_MS = 2000;

class DisplayPowerSource {
  public:
    virtual ~DisplayPowerSource() = default;
    // False while the display is powered down.
    virtual bool isOn() = 0;
    // False for a source whose answer never changes, which is then not asked again.
    virtual bool canChange() const { return true; }
};

// The X server's DPMS state on the xcb platform; a server without the extension, or any
// other platform, counts as always on.
std::unique_ptr<DisplayPowerSource> makeDisplayPowerSource();

class DisplayPowerWatch : public QObject {
    Q_OBJECT

  public:
    explicit DisplayPowerWatch(std::unique_ptr<DisplayPowerSource> source,
                               int intervalMs = DISPLAY_POWER_POLL_MS, QObject* parent = nullptr);
    ~DisplayPowerWatch() override;

    // The process's watch, over makeDisplayPowerSource(); lives as long as the application.
    static DisplayPowerWatch* shared();

    bool isOn() const { return on_; }
    // A view starts or stops watching; the source is asked only while someone watches, and at
    // once when the first one starts.
    void addWatcher();
    void removeWatcher();
    // Asks the source now.
    void check();

  signals:
    void changed(bool on);

  private:
    std::unique_ptr<DisplayPowerSource> source_;
    QTimer timer_;
    int watchers_ = 0;
    bool on_ = true;
};

} // namespace lumivane
