#include "app/SaverApp.h"

#include "app/PasswordDecisions.h"
#include "app/RunModes.h"
#include "app/Switches.h"
#include "engine/Random.h"
#include "engine/Scene.h"
#include "ui/PreferencesDialog.h"
#include "view/NameOverlay.h"
#include "view/ViewRules.h"

#include <QCoreApplication>
#include <QFont>

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
    return ViewEnvironment{&options_, &store_, editorScene_.get()};
}

bool SaverApp::startUp(const std::vector<std::string>& args) {
    QCoreApplication::setOrganizationName(PROFILE_COMPANY);
    if (startUpMustEnd(platform_->saverIsRunning(), platform_->isNtPlatform(),
                       platform_->passwordInUse()))
        return false;
    setStartValues();
    profile_.readDisplayOptions(options_);
    sharedRandom().seed(static_cast<std::uint32_t>(std::time(nullptr)));
    dataSource_ = loadDataFile(options_, store_, &unreadDataFiles_);
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
        options_.showPatternName = false;
    options_.hardEdges = overrides_.noAntiAlias;
}

void SaverApp::setStartValues() {
    options_.dataDirectory = userDataDirectory();
    for (ColourRef& colour : store_.customColours)
        colour = DEFAULT_CUSTOM_COLOUR;
    store_.currentIndex = 0;
    // The six preferences start at the values the Preferences dialog's
    // "Default" shows.
    Preferences{}.applyTo(options_);
    options_.fullScreen = false;
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
    options_.fullScreen = true;
    if (store_.politeMode != 0)
        platform_->lowerPriority();
    prepareNameFont();
    // A saver never refuses to show; without the lock a second one may start.
    if (std::string problem; !platform_->acquireSaverLock(problem))
        err << "lumivane: running without the saver lock: " << problem << '\n';
}

void SaverApp::prepareNameFont() {
    if (options_.showPatternName)
        options_.nameFont = patternNameFont();
}

bool SaverApp::saveSettings(std::ostream& err) {
    profile_.writeDisplayOptions(options_);
    const std::string target = options_.dataFilePath();
    for (const std::string& unread : unreadDataFiles_) {
        std::error_code error;
        if (std::filesystem::equivalent(unread, target, error)) {
            err << "lumivane: " << target << " could not be read; keeping it as " << target
                << ".bak\n";
            if (!backUpDataFile(target, err)) {
                err << "lumivane: the data file was not saved, so that nothing is lost\n";
                return false;
            }
            break;
        }
    }
    return saveDataFile(options_, store_, err);
}

} // namespace lumivane
