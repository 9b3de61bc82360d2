#include "view/KaleidoView.h"

#include "engine/ColourTools.h"
#include "engine/Random.h"
#include "engine/Raster.h"
#include "engine/Renderer.h"
#include "engine/Scene.h"
#include "patterns/DataStore.h"
#include "patterns/Windows1252.h"
#include "view/DisplayPower.h"
#include "view/NameOverlay.h"
#include "view/ViewRules.h"

#include <QBackingStore>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

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
    power_ = environment_.power != nullptr ? environment_.power : DisplayPowerWatch::shared();
    if (power_ != nullptr) {
        connect(power_, &DisplayPowerWatch::changed, this, &KaleidoView::updateSight);
    }
}

KaleidoView::~KaleidoView() {
    if (watchingPower_ && power_ != nullptr) {
        power_->removeWatcher();
    }
}

void KaleidoView::attachScene(Scene* scene, const Pattern& pattern) {
    scene_ = scene;
    pattern_ = pattern;
    if (scene_ != nullptr) {
        scene_->loadPattern(pattern_, true);
    }
}

void KaleidoView::setFrameInterval(std::int64_t n) {
    restartFrameTimer(lumivane::frameIntervalMs(n));
}

void KaleidoView::restartFrameTimer(int intervalMs) {
    frameTimer_.stop();
    frameIntervalMs_ = intervalMs;
    if (seen_ || !frameTimerNeedsSight_) {
        frameTimer_.start(intervalMs);
    }
}

void KaleidoView::setFrameTimerNeedsSight(bool needsSight) {
    frameTimerNeedsSight_ = needsSight;
    if (!needsSight && frameIntervalMs_ > 0 && !frameTimer_.isActive()) {
        frameTimer_.start(frameIntervalMs_);
    }
}

void KaleidoView::armResetTimer() {
    resetTimer_.start(lumivane::resetIntervalMs(pattern_.resetTime));
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
//   Auto-Generate  a freshly generated pattern without a name, at the store's current speed
//   Cycle          the next stored pattern (from a random start), at its speed
// Use Random and Cycle with an empty store fall back to Use Current.
// Returns the n for setFrameInterval, or 0 when nothing is to change.
std::int64_t KaleidoView::chooseNextPattern(int mode) {
    const DataStore* store = environment_.store;
    const int count = storedPatternCount();
    const bool needsStored = mode == FULLSCREEN_USE_RANDOM || mode == FULLSCREEN_CYCLE;
    if (mode == FULLSCREEN_USE_CURRENT || (needsStored && count == 0)) {
        return speedAfterReset(pattern_.speed);
    }
    switch (mode) {
    case FULLSCREEN_USE_RANDOM:
        pattern_ = *store->patternAt(sharedRandom().draw() % count);
        return speedAfterReset(store->current.speed);
    case FULLSCREEN_AUTO_GENERATE:
        // The generator keeps the name of the pattern it overwrites, which
        // names no generated pattern: the overlay shows none.
        ColourTools::randomisePattern(pattern_);
        pattern_.setNameText("");
        return speedAfterReset(store != nullptr ? store->current.speed : pattern_.speed);
    case FULLSCREEN_CYCLE:
        if (cycleIndex_ < 0) {
            cycleIndex_ = sharedRandom().draw() % count;
        }
        cycleIndex_ = (cycleIndex_ + 1) % count;
        pattern_ = *store->patternAt(cycleIndex_);
        return speedAfterReset(pattern_.speed);
    default:
        return 0;
    }
}

void KaleidoView::reset() {
    if (editorPreview_) {
        if (scene_ != nullptr && scene_ == environment_.editorScene) {
            return;
        }
        setFrameInterval(speedAfterReset(pattern_.speed));
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
    const DisplaySettings* display = environment_.display;
    return display == nullptr ||
           (!display->hardEdges && (!display->fullScreen || display->antiAlias));
}

bool KaleidoView::nameOverlayDue() const {
    const DisplaySettings* display = environment_.display;
    return display != nullptr && display->showPatternName && nameFitsClient(width()) &&
           nameStillShowing(clock_(), resetTick_);
}

void KaleidoView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    resizeFrame();
}

// The frame has the client's size in device pixels, so a high-density screen
// gets the kaleidoscope at its full resolution.
void KaleidoView::resizeFrame() {
    frameRatio_ = devicePixelRatioF();
    const int w = static_cast<int>(std::lround(width() * frameRatio_));
    const int h = static_cast<int>(std::lround(height() * frameRatio_));
    frameSize_ = w > 0 && h > 0 ? QSize(w, h) : QSize();
    if (scene_ != nullptr) {
        scene_->setViewport(0, 0, frameSize_.width(), frameSize_.height());
    }
    setFrameInterval(pattern_.speed);
}

void KaleidoView::frameTimerExpired() {
    if (paused_ || !hasFrameSize()) {
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
    update();
}

void KaleidoView::redraw() {
    repaint();
}

// Every paint draws a new frame: there is no earlier one to show again.
void KaleidoView::paintEvent(QPaintEvent* event) {
    if (devicePixelRatioF() != frameRatio_) {
        resizeFrame();
    }
    if (!hasFrameSize()) {
        return;
    }
    QPoint offset;
    if (QImage* pixels = windowPixels(*event, offset)) {
        drawFrameInto(*pixels, offset);
        drewDirectly_ = true;
        return;
    }
    // Only part of the view is to be painted, or into something other than
    // the window: a frame of its own, copied through the clip.
    QImage frame(frameSize_, QImage::Format_RGB32);
    drawFrameInto(frame, QPoint());
    frame.setDevicePixelRatio(frameRatio_);
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), frame);
    drewDirectly_ = false;
}

// The window's own pixels, when this paint may write the view's whole
// rectangle in them: it paints the window (not an image of grab() or an
// effect), covers the whole view, and no ancestor clips the view. The view's
// place in them is deviceOffset.
QImage* KaleidoView::windowPixels(const QPaintEvent& event, QPoint& deviceOffset) {
    QBackingStore* store = backingStore();
    QPaintDevice* device = store != nullptr ? store->paintDevice() : nullptr;
    QPoint redirection;
    if (device == nullptr || redirected(&redirection) != device ||
        device->devType() != QInternal::Image) {
        return nullptr;
    }
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    const bool opaqueWords = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                             format == QImage::Format_ARGB32_Premultiplied;
    if (!opaqueWords || image->devicePixelRatio() != frameRatio_ ||
        !(QRegion(rect()) - event.region()).isEmpty() || clippedByAncestors()) {
        return nullptr;
    }
    // Painting redirects the view's origin to -redirection in the window.
    deviceOffset = QPoint(static_cast<int>(std::lround(-redirection.x() * frameRatio_)),
                          static_cast<int>(std::lround(-redirection.y() * frameRatio_)));
    if (!image->rect().contains(QRect(deviceOffset, frameSize_))) {
        return nullptr;
    }
    return image;
}

bool KaleidoView::clippedByAncestors() const {
    QRect area = rect();
    for (const QWidget* w = this; !w->isWindow() && w->parentWidget() != nullptr;
         w = w->parentWidget()) {
        area.translate(w->pos());
        if (!w->parentWidget()->rect().contains(area)) {
            return true;
        }
    }
    return false;
}

// One frame into the frame-sized rectangle of image at deviceOffset: the
// scene turns, its pieces advance, and the name goes over the image.
void KaleidoView::drawFrameInto(QImage& image, QPoint deviceOffset) {
    const qsizetype bytesPerLine = image.bytesPerLine();
    uchar* origin = image.bits() + deviceOffset.y() * bytesPerLine + deviceOffset.x() * 4;
    Surface target{reinterpret_cast<std::uint32_t*>(origin), frameSize_.width(),
                   frameSize_.height(), static_cast<int>(bytesPerLine / 4)};
    if (scene_ == nullptr) {
        fillRect(target, 0, 0, target.width, target.height, colourToPixel(0));
        return;
    }
    scene_->rotate(pattern_.rotation);
    scene_->renderFrame(target, antiAliasing());
    if (nameOverlayDue()) {
        // The same pixels as an image of their own; they are opaque, so RGB32 serves
        // whatever the window's format.
        QImage pixels(origin, target.width, target.height, bytesPerLine, QImage::Format_RGB32);
        pixels.setDevicePixelRatio(frameRatio_);
        const std::optional<QFont>& font = environment_.display->nameFont;
        writeNameOverlay(pixels, frameRatio_,
                         QString::fromStdString(windows1252ToUtf8(pattern_.nameText())),
                         font ? &*font : nullptr, nameColourFor(pattern_.backgroundColour));
    }
    ++framesDrawn_;
}

QImage KaleidoView::shownFrame() const {
    QBackingStore* store = backingStore();
    QPaintDevice* device = store != nullptr ? store->paintDevice() : nullptr;
    if (device == nullptr || device->devType() != QInternal::Image || !hasFrameSize()) {
        return QImage();
    }
    const auto* image = static_cast<const QImage*>(device);
    const QPoint origin = mapTo(window(), QPoint(0, 0));
    const QPoint offset(static_cast<int>(std::lround(origin.x() * frameRatio_)),
                        static_cast<int>(std::lround(origin.y() * frameRatio_)));
    QImage shown = image->copy(QRect(offset, frameSize_)).convertToFormat(QImage::Format_RGB32);
    shown.setDevicePixelRatio(frameRatio_);
    return shown;
}

void KaleidoView::setHostShowing(bool showing) {
    hostShowing_ = showing;
    updateSight();
}

void KaleidoView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    watchTopLevel();
    updateSight();
}

void KaleidoView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    updateSight();
}

void KaleidoView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ParentChange) {
        watchTopLevel();
        updateSight();
    }
}

// Exposure comes to the top-level window, and minimising to the top-level
// widget; the view listens to both.
void KaleidoView::watchTopLevel() {
    QWidget* top = window();
    if (top != watchedTopLevel_) {
        if (watchedTopLevel_ != nullptr && watchedTopLevel_ != this) {
            watchedTopLevel_->removeEventFilter(this);
        }
        watchedTopLevel_ = top;
        if (top != this) {
            top->installEventFilter(this);
        }
    }
    QWindow* handle = top->windowHandle();
    if (handle != watchedWindow_) {
        if (watchedWindow_ != nullptr) {
            watchedWindow_->removeEventFilter(this);
        }
        watchedWindow_ = handle;
        if (handle != nullptr) {
            handle->installEventFilter(this);
        }
    }
}

bool KaleidoView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Expose:
    case QEvent::WindowStateChange:
    case QEvent::Show:
    case QEvent::Hide:
        updateSight();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void KaleidoView::updateSight() {
    const bool shown = isVisible();
    if (power_ != nullptr && shown != watchingPower_) {
        watchingPower_ = shown;
        if (shown) {
            power_->addWatcher();
        } else {
            power_->removeWatcher();
        }
    }
    const QWidget* top = window();
    const QWindow* handle = top->windowHandle();
    const bool seen = shown && handle != nullptr && handle->isExposed() &&
                      !(top->windowState() & Qt::WindowMinimized) && hostShowing_ &&
                      (power_ == nullptr || power_->isOn());
    if (seen == seen_) {
        return;
    }
    seen_ = seen;
    if (seen_ || !frameTimerNeedsSight_) {
        if (frameIntervalMs_ > 0 && !frameTimer_.isActive()) {
            frameTimer_.start(frameIntervalMs_);
        }
    } else {
        frameTimer_.stop();
    }
}

void KaleidoView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (environment_.openHelp) {
            environment_.openHelp();
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace lumivane
