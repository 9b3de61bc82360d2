// The preview: a plain KaleidoView living inside another program's window on
// the X server (a settings dialog's preview area, or the window a screen-saver
// daemon made for its hack). The view fills the host and follows its size,
// and the preview ends as soon as the host window is gone.
#pragma once

#include "view/HostWindow.h"
#include "view/KaleidoView.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QWindow;

namespace lumivane {

// How often the host's size and existence are checked.
constexpr int HOST_POLL_MS = 200;

class PreviewSession : public QObject {
    Q_OBJECT

  public:
    PreviewSession(const ViewEnvironment& environment, std::unique_ptr<HostWindow> host);
    ~PreviewSession() override;

    // Creates the view inside the host, showing pattern on scene, then arms
    // the reset timer and resets once. False when the host is already gone.
    bool open(Scene& scene, const Pattern& pattern);

    KaleidoView* view() const { return view_; }
    // Deletes the view at once (program exit).
    void destroyView();

  signals:
    // The host window, or the view's own window, has gone.
    void finished();

  private:
    void followHost();
    QSize logicalSize(QSize devicePixels) const;

    ViewEnvironment environment_;
    std::unique_ptr<HostWindow> host_;
    std::unique_ptr<QWindow> foreignHost_;
    QPointer<KaleidoView> view_;
    QSize hostSize_;
    QTimer pollTimer_;
};

// The host a preview started with handle draws into: handle itself when given,
// else the window named by $XSCREENSAVER_WINDOW; with onRoot the root window
// when neither names one. Without a window, problem says in one line why, and
// where the id came from (handleOrigin for handle, else the variable).
struct PreviewHost {
    std::unique_ptr<HostWindow> window;
    std::string problem;
};
PreviewHost findPreviewHost(long long handle, bool onRoot, std::string_view handleOrigin);

} // namespace lumivane
