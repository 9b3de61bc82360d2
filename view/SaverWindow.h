// One window of the full-screen saver: frameless and top-most over one screen,
// a KaleidoView that tells its SaverSession of every sign of the user (a key, a
// mouse button, a pointer movement, the loss of activation) and closes when
// the session's close sequence ends.
#pragma once

#include "view/KaleidoView.h"

class QScreen;

namespace lumivane {

class SaverSession;

class SaverWindow : public KaleidoView {
    Q_OBJECT

  public:
    SaverWindow(const ViewEnvironment& environment, SaverSession& session);

    // Covers screen: frameless, on top of everything, no pointer.
    void createFullScreen(QScreen* screen);
    // Stops drawing and closes on the next frame tick, CLOSE_DELAY_MS from now.
    void beginClosing();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void frameTimerExpired() override;
    void resetTimerExpired() override;

  private:
    SaverSession& session_;
    bool wasActive_ = false;
};

} // namespace lumivane
