#include "view/PreviewSession.h"

#include "view/WindowManagerRequests.h"

#include <QLoggingCategory>
#include <QString>
#include <QWindow>

#include <cstdlib>

namespace lumivane {

PreviewSession::PreviewSession(const ViewEnvironment& environment, std::unique_ptr<HostWindow> host)
    : environment_(environment), host_(std::move(host)) {
    pollTimer_.setInterval(HOST_POLL_MS);
    connect(&pollTimer_, &QTimer::timeout, this, &PreviewSession::followHost);
}

PreviewSession::~PreviewSession() {
    destroyView();
}

QSize PreviewSession::logicalSize(QSize devicePixels) const {
    const qreal ratio = view_ != nullptr ? view_->devicePixelRatioF() : 1.0;
    return QSize(static_cast<int>(devicePixels.width() / ratio),
                 static_cast<int>(devicePixels.height() / ratio));
}

// The view's native window is made a child of the host's window, so it is
// clipped to it, moves with it and dies with it.
bool PreviewSession::open(Scene& scene, const Pattern& pattern) {
    const std::optional<QSize> size = host_->size();
    if (!size) {
        return false;
    }
    hostSize_ = *size;
    // The view's window goes into the host before it is shown, and the window
    // manager hears nothing about it.
    blockWindowManagerRequests(true);
    view_ = new KaleidoView(environment_);
    view_->attachScene(&scene, pattern);
    foreignHost_.reset(QWindow::fromWinId(host_->id()));
    view_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    view_->setGeometry(QRect(QPoint(0, 0), logicalSize(hostSize_)));
    view_->winId();
    view_->windowHandle()->setParent(foreignHost_.get());
    view_->show();
    view_->armResetTimer();
    view_->reset();
    pollTimer_.start();
    return true;
}

// The host can be resized, unmapped (the view then stops drawing, as no X
// event tells it) or destroyed.
void PreviewSession::followHost() {
    const std::optional<QSize> size = host_->size();
    const std::optional<bool> viewable =
        view_ != nullptr ? host_->isViewable(static_cast<std::uint32_t>(view_->winId()))
                         : std::nullopt;
    if (!size || !viewable) {
        pollTimer_.stop();
        // The view's window went with the host; Qt's own clean-up of it can
        // only fail now, which is no news.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.xcb.warning=false"));
        emit finished();
        return;
    }
    view_->setHostShowing(*viewable);
    if (*size != hostSize_) {
        hostSize_ = *size;
        view_->setGeometry(QRect(QPoint(0, 0), logicalSize(hostSize_)));
    }
}

void PreviewSession::destroyView() {
    pollTimer_.stop();
    delete view_.data();
    foreignHost_.reset();
}

PreviewHost findPreviewHost(long long handle, bool onRoot, std::string_view handleOrigin) {
    PreviewHost host;
    const auto noWindow = [&host](const std::string& id, std::string_view origin) {
        host.problem =
            "there is no window " + id + " (from " + std::string(origin) + ") to draw into";
    };
    if (handle != 0) {
        host.window = HostWindow::open(handle);
        if (!host.window) {
            // X tools write window ids in hexadecimal; /p takes decimal.
            noWindow(handleOrigin == "the argument"
                         ? std::to_string(handle)
                         : QStringLiteral("0x%1").arg(handle, 0, 16).toStdString(),
                     handleOrigin);
        }
        return host;
    }
    const char* saverWindow = std::getenv("XSCREENSAVER_WINDOW");
    if (saverWindow != nullptr && *saverWindow != '\0') {
        const std::optional<long long> id = parseWindowId(saverWindow);
        if (!id)
            host.problem = "XSCREENSAVER_WINDOW=\"" + std::string(saverWindow) +
                           "\" is not a window id (hexadecimal 0x... or decimal)";
        else if (!(host.window = HostWindow::open(*id)))
            noWindow(saverWindow, "XSCREENSAVER_WINDOW");
        return host;
    }
    if (!onRoot) {
        host.problem = "no window to draw into (give one, or set XSCREENSAVER_WINDOW)";
    } else if (!(host.window = HostWindow::openRoot())) {
        host.problem = "cannot open the root window of the X display";
    }
    return host;
}

} // namespace lumivane
