#include "app/SaverApp.h"

#include "app/DataFileLock.h"
#include "app/RunModes.h"
#include "app/Switches.h"
#include "engine/Random.h"
#include "engine/Scene.h"
#include "ui/HelpFile.h"
#include "ui/PreferencesDialog.h"
#include "view/NameOverlay.h"
#include "view/ViewRules.h"

#include <QCoreApplication>
#include <QFont>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <ostream>

namespace lumivane {
namespace {

constexpr const char* NAME_FONT_FAMILY = "Times New Roman";

// An italic Roman face whose cell, ascent plus descent, is NAME_FONT_HEIGHT pixels.
QFont patternNameFont() {
    QFont font(NAME_FONT_FAMILY);
    font.setWeight(QFont::Normal);
    font.setItalic(true);
    font.setStyleHint(QFont::Serif); // a Roman face when Times is not installed
    font.setPixelSize(pixelSizeForCell(font, NAME_FONT_HEIGHT));
    return font;
}

} // namespace

SaverApp::SaverApp(const QString& applicationName, std::unique_ptr<PlatformServices> platform)
    : profile_(applicationName), platform_(std::move(platform)),
      mainScene_(std::make_unique<Scene>()), editorScene_(std::make_unique<Scene>()) {}

SaverApp::~SaverApp() = default;

ViewEnvironment SaverApp::viewEnvironment() {
    ViewEnvironment environment{&options_.display, &store_, editorScene_.get()};
    environment.openHelp = openHelpFile;
    return environment;
}

// A full-screen run takes the saver lock first and decides by it; when the
// lock cannot be had at all, the running check answers and the saver runs
// without the lock (prepareFullScreen says so).
bool SaverApp::anotherSaverRuns(bool fullScreen) {
    if (!fullScreen)
        return platform_->saverIsRunning();
    std::string problem;
    switch (platform_->takeSaverLock(problem)) {
    case PlatformServices::SaverLock::Taken:
        return false;
    case PlatformServices::SaverLock::HeldElsewhere:
        return true;
    case PlatformServices::SaverLock::Unavailable:
        break;
    }
    return platform_->saverIsRunning();
}

bool SaverApp::startUp(const std::vector<std::string>& args) {
    QCoreApplication::setOrganizationName(PROFILE_COMPANY);
    if (startUpMustEnd(anotherSaverRuns(runModeFor(args) == RunMode::FullScreen),
                       platform_->isNtPlatform(), platform_->passwordInUse()))
        return false;
    setStartValues();
    profile_.readDisplaySettings(options_.display);
    sharedRandom().seed(static_cast<std::uint32_t>(std::time(nullptr)));
    dataSource_ = loadDataFile(options_, store_, &unreadDataFiles_, &dataFileSeen_);
    applyDisplayOverrides();
    return dispatch(args);
}

// Nothing of this is written back: only the configuration dialog saves, and
// it is never run with overrides.
void SaverApp::applyDisplayOverrides() {
    if (overrides_.patternName) {
        const int index = findStoredPattern(store_, *overrides_.patternName);
        if (index >= 0) {
            store_.current = *store_.patternAt(index);
            store_.fullScreenMode = FULLSCREEN_USE_CURRENT;
        } else {
            std::cerr << "lumivane: no stored pattern is named \"" << *overrides_.patternName
                      << "\"\n";
        }
    }
    if (overrides_.fullScreenMode)
        store_.fullScreenMode = *overrides_.fullScreenMode;
    if (overrides_.noName)
        options_.display.showPatternName = false;
    options_.display.hardEdges = overrides_.noAntiAlias;
}

void SaverApp::setStartValues() {
    options_.dataDirectory = userDataDirectory();
    for (ColourRef& colour : store_.customColours)
        colour = DEFAULT_CUSTOM_COLOUR;
    store_.currentIndex = 0;
    // The six preferences start at the values the Preferences dialog's
    // "Default" shows.
    Preferences{}.applyTo(options_.dialogs, options_.display);
    options_.display.fullScreen = false;
}

bool SaverApp::dispatch(const std::vector<std::string>& args) {
    switch (runModeFor(args)) {
    case RunMode::Configure:
        runConfiguration(*this);
        return false;
    case RunMode::Preview:
        return startPreview(*this, windowHandleFrom(args));
    case RunMode::FullScreen:
        return startFullScreen(*this);
    case RunMode::ChangePassword:
        platform_->changePassword(windowHandleFrom(args));
        return false;
    case RunMode::Nothing:
        break;
    }
    return false;
}

void SaverApp::shutDown() {
    store_.deleteAll();
}

void SaverApp::prepareFullScreen(std::ostream& err) {
    options_.display.fullScreen = true;
    if (store_.politeMode != 0)
        platform_->lowerPriority();
    prepareNameFont();
    // A saver never refuses to show; without the lock a second one may start.
    if (std::string problem; !platform_->acquireSaverLock(problem))
        err << "lumivane: running without the saver lock: " << problem << '\n';
}

void SaverApp::prepareNameFont() {
    if (options_.display.showPatternName)
        options_.display.nameFont = patternNameFont();
}

bool SaverApp::saveSettings(std::ostream& err) {
    profile_.writeDisplaySettings(options_.display);
    const std::string target = options_.dataFilePath();
    makeDataFolder(options_); // a failure shows up as the failure to save below
    try {
        // Links are checked before the lock file is made beside the file they lead to.
        const ResolvedName name(target, LinkHandling::ReplaceTarget);
        checkLinksAsRead(name, dataFileSeen_);
        const DataFileLock lock(name);
        const FileSeen now = name.look();
        const bool unread = std::any_of(unreadDataFiles_.begin(), unreadDataFiles_.end(),
                                        [&](const std::string& path) {
                                            std::error_code error;
                                            return std::filesystem::equivalent(path, target, error);
                                        });
        const bool changed = now.present && now.regular && !now.sameFileAs(dataFileSeen_);
        if (unread || changed) {
            err << "lumivane: " << target
                << (unread ? " could not be read" : " was changed since it was read")
                << "; keeping it as " << target << ".bak\n";
            if (!backUpDataFile(target, err, &dataFileSeen_)) {
                err << "lumivane: the data file was not saved, so that nothing is lost\n";
                return false;
            }
        }
        if (!saveDataFile(options_, store_, err, &dataFileSeen_))
            return false;
        dataFileSeen_ = name.look(); // what a later save compares with is this one
        return true;
    } catch (const StoreFileError& error) {
        err << "lumivane: the data file was not saved: " << error.what() << '\n';
        return false;
    }
}

} // namespace lumivane
