// The window that shows a moving kaleidoscope. A view keeps its own copy of a
// pattern and points at a Scene it does not own. Its frame timer draws one
// frame per tick into the view's own 32-bit surface, which is then shown with
// one copy; its reset timer rebuilds the scene from the pattern chosen by the
// store's full-screen mode.
#pragma once

#include "patterns/Pattern.h"
#include "view/DisplayOptions.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace lumivane {

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
    void setFrameInterval(int n);
    // Starts the reset timer with the period of the current pattern. Called once
    // at start-up; resets never re-arm it.
    void armResetTimer();
    // Rebuilds the scene with the next pattern (see the .cpp for the choice).
    void reset();
    // False suspends frames and resets, true resumes them.
    void setRunning(bool running);
    // A configuration dialog's preview restarts its own pattern on every reset.
    void setEditorPreview(bool editorPreview);
    // One frame: the scene turns, its pieces advance and the image is drawn
    // into the surface, with the name overlay; the window shows it on its next
    // paint.
    void drawFrame();
    // Draws a frame and shows it at once, outside the timer.
    void redraw();

    void setClock(Clock clock);

    const Pattern& pattern() const { return pattern_; }
    Scene* scene() const { return scene_; }
    bool isPaused() const { return paused_; }
    bool isEditorPreview() const { return editorPreview_; }
    int cycleIndex() const { return cycleIndex_; }
    std::uint32_t resetTick() const { return resetTick_; }
    // The frame timer's period, or -1 when it does not run.
    int frameIntervalMs() const;
    // The reset timer's period, or -1 when it is not armed.
    int resetIntervalMs() const;
    bool hasSurface() const { return !surface_.isNull(); }
    // The surface in device pixels (its device pixel ratio is the screen's).
    const QImage& surface() const { return surface_; }
    bool antiAliasing() const;
    // Whether the next frame writes the pattern's name over the image.
    bool nameOverlayDue() const;
    // Frames rendered so far; tells tests whether a tick drew.
    long long framesDrawn() const { return framesDrawn_; }

    // Opens "Lumivane.hlp" in the current folder with the desktop's handler.
    static void openHelpFile();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    virtual void frameTimerExpired();
    virtual void resetTimerExpired();
    // Stops the frame timer and starts it again with a period in milliseconds.
    void restartFrameTimer(int intervalMs);
    std::uint32_t tick() const { return clock_(); }
    const ViewEnvironment& environment() const { return environment_; }

  private:
    void rebuildSurface();
    void renderIntoSurface();
    void drawNameOverlay();
    void loadSceneInFull();
    int chooseNextPattern(int mode);
    int storedPatternCount() const;

    ViewEnvironment environment_;
    QImage surface_;
    Pattern pattern_;
    bool editorPreview_ = false;
    bool paused_ = false;
    int cycleIndex_ = -1;
    std::uint32_t resetTick_ = 0;
    Scene* scene_ = nullptr;
    bool frameReady_ = false;
    long long framesDrawn_ = 0;
    QTimer frameTimer_;
    QTimer resetTimer_;
    Clock clock_;
};

// The millisecond tick of a monotonic clock, wrapping at 2^32.
std::uint32_t monotonicTickMs();

} // namespace lumivane
