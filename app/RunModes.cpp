// The run modes that open windows: the configuration dialog, the preview inside
// a host window and the full-screen saver.
#include "app/RunModes.h"

#include "app/ExitStatus.h"
#include "app/SaverApp.h"
#include "app/Switches.h"
#include "engine/Scene.h"
#include "ui/ConfigDialog.h"
#include "ui/ModalRunner.h"
#include "view/PreviewSession.h"
#include "view/QuitOnSignal.h"
#include "view/SaverSession.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPointer>

#include <iostream>

namespace lumivane {

namespace {

// What a run mode keeps alive while the event loop runs.
class FullScreenRun : public QObject {
  public:
    explicit FullScreenRun(SaverApp& app) : session_(app.viewEnvironment(), app.platform()) {}
    SaverSession& session() { return session_; }

  private:
    SaverSession session_;
};

// The windows go before the application object and the scenes they draw:
// the run is deleted as soon as the event loop ends.
void endWithEventLoop(QObject* run) {
    QPointer<QObject> guarded(run);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                     QCoreApplication::instance(), [guarded] { delete guarded.data(); });
}

template <typename Sender> void quitWhenFinished(const Sender* sender, void (Sender::*signal)()) {
    QObject::connect(sender, signal, QCoreApplication::instance(),
                     [] { QCoreApplication::exit(EXIT_DONE); });
}

} // namespace

bool startPreview(SaverApp& app, long long hostHandle) {
    quitOnTerminationSignals();
    if (hostHandle == NOT_A_WINDOW) {
        std::cerr << "lumivane: the handle given is not a window id (1 to 4294967295)\n";
        app.markStartFailed();
        return false;
    }
    PreviewHost host =
        findPreviewHost(hostHandle, app.options().previewOnRoot, app.options().previewHandleOrigin);
    if (!host.window) {
        std::cerr << "lumivane: " << host.problem << '\n';
        app.markStartFailed();
        return false;
    }
    app.prepareNameFont();
    auto* preview = new PreviewSession(app.viewEnvironment(), std::move(host.window));
    if (!preview->open(app.mainScene(), app.store().current)) {
        delete preview;
        std::cerr << "lumivane: the window to draw into went away\n";
        app.markStartFailed();
        return false;
    }
    quitWhenFinished(preview, &PreviewSession::finished);
    endWithEventLoop(preview);
    return true;
}

bool startFullScreen(SaverApp& app) {
    app.prepareFullScreen(std::cerr);
    quitOnTerminationSignals();
    app.mainScene().setAnimationFactor(app.store().current.animationLevel);
    auto* run = new FullScreenRun(app);
    quitWhenFinished(&run->session(), &SaverSession::finished);
    endWithEventLoop(run);
    run->session().open(app.mainScene(), app.store().current);
    return true;
}

DialogContext configurationContext(SaverApp& app, ModalRunner& runner) {
    Options& options = app.options();
    options.dialogs.helpCursor = QCursor(Qt::WhatsThisCursor);
    options.dialogs.helpCursorsReady = true;
    const ProfileStore& profile = app.profile();
    return DialogContext{&options.dialogs,
                         &options.display,
                         &app.store(),
                         &app.mainScene(),
                         &app.editorScene(),
                         &runner,
                         profile.applicationName(),
                         [&profile] { return profile.patternPath(); },
                         [&profile](const QString& folder) { profile.setPatternPath(folder); }};
}

void finishConfiguration(SaverApp& app, bool accepted) {
    if (accepted)
        app.saveSettings(std::cerr);
}

void runConfiguration(SaverApp& app) {
    DesktopModalRunner runner;
    ConfigDialog dialog(configurationContext(app, runner));
    finishConfiguration(app, dialog.exec() == QDialog::Accepted);
}

} // namespace lumivane
