#include "view/KaleidoView.h"

#include "engine/ColourTools.h"
#include "engine/Random.h"
#include "engine/Raster.h"
#include "engine/Renderer.h"
#include "engine/Scene.h"
#include "patterns/DataStore.h"
#include "patterns/Windows1252.h"
#include "view/HelpFile.h"
#include "view/NameOverlay.h"
#include "view/ViewRules.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QUrl>

#include <chrono>
#include <cmath>

namespace lumivane {

std::uint32_t monotonicTickMs() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

KaleidoView::KaleidoView(const ViewEnvironment& environment, QWidget* parent)
    : QWidget(parent), environment_(environment), clock_(monotonicTickMs) {
    // Every pixel is drawn by the view itself: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setCursor(Qt::BlankCursor);
    setWindowTitle(QString());
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &KaleidoView::frameTimerExpired);
    connect(&resetTimer_, &QTimer::timeout, this, &KaleidoView::resetTimerExpired);
}

KaleidoView::~KaleidoView() = default;

void KaleidoView::attachScene(Scene* scene, const Pattern& pattern) {
    scene_ = scene;
    pattern_ = pattern;
    if (scene_ != nullptr) {
        scene_->loadPattern(pattern_, true);
    }
}

void KaleidoView::setFrameInterval(int n) {
    restartFrameTimer(lumivane::frameIntervalMs(n));
}

void KaleidoView::restartFrameTimer(int intervalMs) {
    frameTimer_.stop();
    frameTimer_.start(intervalMs);
}

void KaleidoView::armResetTimer() {
    resetTimer_.start(lumivane::resetIntervalMs(pattern_.resetTime));
}

int KaleidoView::frameIntervalMs() const {
    return frameTimer_.isActive() ? frameTimer_.interval() : -1;
}

int KaleidoView::resetIntervalMs() const {
    return resetTimer_.isActive() ? resetTimer_.interval() : -1;
}

void KaleidoView::setRunning(bool running) {
    paused_ = !running;
}

void KaleidoView::setEditorPreview(bool editorPreview) {
    editorPreview_ = editorPreview;
}

void KaleidoView::setClock(Clock clock) {
    clock_ = clock ? std::move(clock) : monotonicTickMs;
}

int KaleidoView::storedPatternCount() const {
    return environment_.store != nullptr ? environment_.store->count() : 0;
}

// The pattern each reset shows, by the store's full-screen mode:
//   Use Current    the view's own pattern, at its own speed
//   Use Random     a random stored pattern, at the store's current speed
//   Auto-Generate  a freshly generated pattern, at the store's current speed
//   Cycle          the next stored pattern (from a random start), at its speed
// Use Random and Cycle with an empty store fall back to Use Current.
// Returns the n for setFrameInterval, or 0 when nothing is to change.
int KaleidoView::chooseNextPattern(int mode) {
    const DataStore* store = environment_.store;
    const int count = storedPatternCount();
    const bool needsStored = mode == FULLSCREEN_USE_RANDOM || mode == FULLSCREEN_CYCLE;
    if (mode == FULLSCREEN_USE_CURRENT || (needsStored && count == 0)) {
        return pattern_.speed + 1;
    }
    switch (mode) {
    case FULLSCREEN_USE_RANDOM:
        pattern_ = *store->patternAt(sharedRandom().draw() % count);
        return store->current.speed + 1;
    case FULLSCREEN_AUTO_GENERATE:
        ColourTools::randomisePattern(pattern_);
        return (store != nullptr ? store->current.speed : pattern_.speed) + 1;
    case FULLSCREEN_CYCLE:
        if (cycleIndex_ < 0) {
            cycleIndex_ = sharedRandom().draw() % count;
        }
        cycleIndex_ = (cycleIndex_ + 1) % count;
        pattern_ = *store->patternAt(cycleIndex_);
        return pattern_.speed + 1;
    default:
        return 0;
    }
}

void KaleidoView::reset() {
    if (editorPreview_) {
        if (scene_ != nullptr && scene_ == environment_.editorScene) {
            return;
        }
        setFrameInterval(pattern_.speed + 1);
        loadSceneInFull();
        return;
    }
    resetTick_ = tick();
    const int mode = environment_.store != nullptr ? environment_.store->fullScreenMode
                                                   : static_cast<int>(FULLSCREEN_USE_CURRENT);
    const bool known = mode >= FULLSCREEN_USE_CURRENT && mode <= FULLSCREEN_CYCLE;
    if (!known) {
        return;
    }
    setFrameInterval(chooseNextPattern(mode));
    loadSceneInFull();
}

void KaleidoView::loadSceneInFull() {
    if (scene_ != nullptr) {
        scene_->loadPattern(pattern_, false);
    }
}

bool KaleidoView::antiAliasing() const {
    const DisplayOptions* options = environment_.options;
    return options == nullptr ||
           (!options->hardEdges && (!options->fullScreen || options->antiAlias));
}

bool KaleidoView::nameOverlayDue() const {
    const DisplayOptions* options = environment_.options;
    return options != nullptr && options->showPatternName && nameFitsClient(width()) &&
           nameStillShowing(clock_(), resetTick_);
}

void KaleidoView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rebuildSurface();
}

// The surface has the client's size in device pixels, so a high-density
// screen gets the kaleidoscope at its full resolution.
void KaleidoView::rebuildSurface() {
    const qreal ratio = devicePixelRatioF();
    const int w = static_cast<int>(std::lround(width() * ratio));
    const int h = static_cast<int>(std::lround(height() * ratio));
    surface_ = QImage();
    frameReady_ = false;
    if (w > 0 && h > 0) {
        surface_ = QImage(w, h, QImage::Format_RGB32);
        surface_.setDevicePixelRatio(ratio);
        surface_.fill(Qt::black);
    }
    if (scene_ != nullptr) {
        scene_->setViewport(0, 0, w, h);
    }
    setFrameInterval(pattern_.speed);
}

void KaleidoView::frameTimerExpired() {
    if (paused_ || !hasSurface()) {
        return;
    }
    drawFrame();
}

void KaleidoView::resetTimerExpired() {
    if (!paused_) {
        reset();
    }
}

void KaleidoView::drawFrame() {
    renderIntoSurface();
    update();
}

void KaleidoView::redraw() {
    renderIntoSurface();
    repaint();
}

void KaleidoView::renderIntoSurface() {
    if (scene_ == nullptr || !hasSurface()) {
        return;
    }
    scene_->rotate(pattern_.rotation);
    Surface target{reinterpret_cast<std::uint32_t*>(surface_.bits()), surface_.width(),
                   surface_.height(), static_cast<int>(surface_.bytesPerLine() / 4)};
    renderFrame(*scene_, target, antiAliasing());
    if (nameOverlayDue()) {
        drawNameOverlay();
    }
    frameReady_ = true;
    ++framesDrawn_;
}

// The name goes into the surface after the scene, so the next frame covers it.
void KaleidoView::drawNameOverlay() {
    const std::optional<QFont>& font = environment_.options->nameFont;
    writeNameOverlay(surface_, surface_.devicePixelRatio(),
                     QString::fromStdString(windows1252ToUtf8(pattern_.nameText())),
                     font ? &*font : nullptr, nameColourFor(pattern_.backgroundColour));
}

// One copy of the surface; a window shown before the first tick gets a frame
// of its own so it never shows stale memory.
void KaleidoView::paintEvent(QPaintEvent*) {
    if (!hasSurface()) {
        return;
    }
    if (!frameReady_) {
        renderIntoSurface();
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), surface_);
}

void KaleidoView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        openHelpFile();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void KaleidoView::openHelpFile() {
    lumivane::openHelpFile();
}

} // namespace lumivane
