// The window that shows a moving kaleidoscope. A view keeps its own copy of a
// pattern and points at a Scene it does not own. Each tick of its frame timer
// asks for a paint, and the paint draws the frame straight into the pixels the
// window system shows (the window's backing store), with no surface or copy of
// the view's own. Its reset timer rebuilds the scene from the pattern chosen by
// the store's full-screen mode. While nobody can see the view (it is hidden,
// its window unmapped or minimised, its host window hidden, or the display
// powered down) the frame timer stands still.
#pragma once

#include "patterns/Pattern.h"
#include "view/DisplaySettings.h"
#include "view/ViewEnvironment.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>

class QWindow;

namespace lumivane {

class DisplayPowerWatch;

class KaleidoView : public QWidget {
    Q_OBJECT

  public:
    // The millisecond tick the name overlay is timed with; tests replace it.
    using Clock = std::function<std::uint32_t()>;

    explicit KaleidoView(const ViewEnvironment& environment, QWidget* parent = nullptr);
    ~KaleidoView() override;

    // Points the view at scene and copies pattern; the scene takes the
    // pattern's image-wide settings without spawning pieces.
    void attachScene(Scene* scene, const Pattern& pattern);
    // Frame period 540 - 5n ms for n above 0; n <= 0 practically stops it.
    void setFrameInterval(std::int64_t n);
    // Starts the reset timer with the period of the current pattern. Called once
    // at start-up; resets never re-arm it.
    void armResetTimer();
    // Rebuilds the scene with the next pattern (see the .cpp for the choice).
    void reset();
    // False suspends frames and resets, true resumes them.
    void setRunning(bool running);
    // A configuration dialog's preview restarts its own pattern on every reset.
    void setEditorPreview(bool editorPreview);
    // Asks for one frame: on the next paint the scene turns, its pieces
    // advance and the image is drawn into the window, with the name overlay.
    void drawFrame();
    // Draws a frame and shows it at once, outside the timer.
    void redraw();
    // Whether the window that holds this view is itself shown inside its host
    // (a preview's host window can be unmapped without the view knowing).
    void setHostShowing(bool showing);

    void setClock(Clock clock);

    const Pattern& pattern() const { return pattern_; }
    Scene* scene() const { return scene_; }
    bool isPaused() const { return paused_; }
    bool isEditorPreview() const { return editorPreview_; }
    int cycleIndex() const { return cycleIndex_; }
    std::uint32_t resetTick() const { return resetTick_; }
    // The frame timer's period, or -1 before it was first set. It stands
    // still while nobody can see the view (frameTimerRunning()).
    int frameIntervalMs() const { return frameIntervalMs_; }
    bool frameTimerRunning() const { return frameTimer_.isActive(); }
    // The reset timer's period, or -1 when it is not armed.
    int resetIntervalMs() const;
    // Whether the view can be seen: shown, in an exposed window that is not
    // minimised, inside a showing host, on a powered display.
    bool isSeen() const { return seen_; }
    // The frame's size in device pixels (the client's size times the
    // screen's pixel ratio), and that ratio.
    bool hasFrameSize() const { return !frameSize_.isEmpty(); }
    QSize frameSize() const { return frameSize_; }
    qreal frameRatio() const { return frameRatio_; }
    // A copy of the view's pixels as its window shows them (for tests and
    // tools; the view keeps no image of its own).
    QImage shownFrame() const;
    // Whether the last frame went straight into the window's pixels, rather
    // than through an image of its own (a paint of part of the view, or into
    // another device such as grab()).
    bool drewDirectly() const { return drewDirectly_; }
    bool antiAliasing() const;
    // Whether the next frame writes the pattern's name over the image.
    bool nameOverlayDue() const;
    // Frames rendered so far; tells tests whether a tick drew.
    long long framesDrawn() const { return framesDrawn_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    virtual void frameTimerExpired();
    virtual void resetTimerExpired();
    // Stops the frame timer and starts it again with a period in milliseconds
    // (once the view can be seen, unless the timer runs unseen as well).
    void restartFrameTimer(int intervalMs);
    // False lets the frame timer run while nobody can see the view (a saver
    // window that is closing must close on its next tick).
    void setFrameTimerNeedsSight(bool needsSight);
    std::uint32_t tick() const { return clock_(); }
    const ViewEnvironment& environment() const { return environment_; }

  private:
    void resizeFrame();
    QImage* windowPixels(const QPaintEvent& event, QPoint& deviceOffset);
    bool clippedByAncestors() const;
    void drawFrameInto(QImage& image, QPoint deviceOffset);
    void loadSceneInFull();
    std::int64_t chooseNextPattern(int mode);
    int storedPatternCount() const;
    void watchTopLevel();
    void updateSight();

    ViewEnvironment environment_;
    QSize frameSize_;
    qreal frameRatio_ = 1.0;
    Pattern pattern_;
    bool editorPreview_ = false;
    bool paused_ = false;
    int cycleIndex_ = -1;
    std::uint32_t resetTick_ = 0;
    Scene* scene_ = nullptr;
    long long framesDrawn_ = 0;
    bool drewDirectly_ = false;
    int frameIntervalMs_ = -1;
    bool frameTimerNeedsSight_ = true;
    bool seen_ = false;
    bool hostShowing_ = true;
    bool watchingPower_ = false;
    QPointer<DisplayPowerWatch> power_;
    QPointer<QWidget> watchedTopLevel_;
    QPointer<QWindow> watchedWindow_;
    QTimer frameTimer_;
    QTimer resetTimer_;
    Clock clock_;
};

// The millisecond tick of a monotonic clock, wrapping at 2^32.
std::uint32_t monotonicTickMs();

} // namespace lumivane
