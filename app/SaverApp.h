// The application object: owns the process-wide objects (options, the pattern
// store, the two shared scenes, the platform services), runs the start-up
// sequence and dispatches on the switch to a run mode.
#pragma once

#include "app/CommandLine.h"
#include "app/DataFile.h"
#include "app/Options.h"
#include "app/ProfileStore.h"
#include "patterns/DataStore.h"
#include "view/PlatformServices.h"
#include "view/ViewEnvironment.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace lumivane {

class Scene;

class SaverApp {
  public:
    // applicationName names the program's key in the profile store.
    explicit SaverApp(const QString& applicationName,
                      std::unique_ptr<PlatformServices> platform = makePlatformServices());
    ~SaverApp();
    SaverApp(const SaverApp&) = delete;
    SaverApp& operator=(const SaverApp&) = delete;

    // Choices for this run only, applied once the data file was read.
    void setDisplayOverrides(const DisplayOverrides& overrides) { overrides_ = overrides; }

    // Runs the start-up sequence and the run mode chosen by args (the arguments
    // after the program name). Returns true when a window was made and the
    // event loop is to run, false when the process is to end now.
    bool startUp(const std::vector<std::string>& args);
    // Frees the stored patterns; called once the event loop has ended or
    // startUp returned false.
    void shutDown();
    // A run mode that could not do what it was asked (a preview without its
    // host window) marks the start as failed: the process then ends with
    // EXIT_FAILED.
    void markStartFailed() { startFailed_ = true; }
    bool startFailed() const { return startFailed_; }

    // The full-screen mode's preparation before its window is made: marks the
    // options, lowers the priority when the stored polite mode is on, makes
    // the overlay font and marks this process as the running saver. When the
    // mark cannot be made, says so in one line on err; the saver runs anyway.
    void prepareFullScreen(std::ostream& err);
    // A preview as large as a screen (a screen-saver daemon's window) shows the
    // name overlay too; give it the overlay's own font rather than the default.
    void prepareNameFont();
    // Ending the configuration dialog with OK: writes the two profile switches
    // and then the data file, holding its DataFileLock. A data file that
    // start-up found but could not take, or that was changed since start-up
    // read it (by a --merge-bank, say), is first kept beside it as
    // Lumivane.dat.bak, and err is told in one line. A link at the data file's
    // name that was not there when start-up read it is not followed: nothing
    // is saved then. Returns whether the data file was written.
    bool saveSettings(std::ostream& err);

    Options& options() { return options_; }
    DataStore& store() { return store_; }
    Scene& mainScene() { return *mainScene_; }
    Scene& editorScene() { return *editorScene_; }
    PlatformServices& platform() { return *platform_; }
    const ProfileStore& profile() const { return profile_; }
    // What the views read: the options, the store and the editor's scene.
    ViewEnvironment viewEnvironment();
    // Where start-up read the data file from.
    DataSource dataSource() const { return dataSource_; }

  private:
    bool anotherSaverRuns(bool fullScreen);
    void setStartValues();
    void applyDisplayOverrides();
    bool dispatch(const std::vector<std::string>& args);

    ProfileStore profile_;
    std::unique_ptr<PlatformServices> platform_;
    Options options_;
    DataStore store_;
    std::unique_ptr<Scene> mainScene_;
    std::unique_ptr<Scene> editorScene_;
    DataSource dataSource_ = DataSource::Defaults;
    bool startFailed_ = false;
    DisplayOverrides overrides_;
    // Data files start-up found but refused or found damaged.
    std::vector<std::string> unreadDataFiles_;
    // What the file a save replaces was when start-up read the store.
    FileSeen dataFileSeen_;
};

} // namespace lumivane
