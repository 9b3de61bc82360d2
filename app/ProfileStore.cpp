#include "app/ProfileStore.h"

#include "view/DisplaySettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace lumivane {
namespace {

constexpr const char* CONFIG_GROUP = "Config";
constexpr const char* SHOW_PATTERN_NAME_KEY = "ShowPatternName";
constexpr const char* ANTI_ALIAS_KEY = "AntiAlias";
constexpr const char* PATTERN_PATH_KEY = "PatternPath";

class ConfigGroup {
  public:
    explicit ConfigGroup(const QString& applicationName)
        : settings_(QSettings::NativeFormat, QSettings::UserScope, PROFILE_COMPANY,
                    applicationName) {
        settings_.beginGroup(CONFIG_GROUP);
    }
    QSettings& operator*() { return settings_; }
    QSettings* operator->() { return &settings_; }

  private:
    QSettings settings_;
};

// The settings files read for this program are the user's and the system's,
// each for the program and for the company. A FIFO or a device in one of those
// places would hold the program before anything shows, so then the profile is
// neither read nor written: the switches keep their defaults.
bool profileFilesUsable(const QString& applicationName) {
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        const QString company = folder + '/' + PROFILE_COMPANY;
        for (const QString& file : {company + '/' + applicationName + ".conf", company + ".conf"}) {
            const QFileInfo info(file);
            if (info.exists() && !info.isFile())
                return false;
        }
    }
    return true;
}

bool switchOn(QSettings& settings, const char* key) {
    bool isNumber = false;
    const int value = settings.value(key, 1).toInt(&isNumber);
    return isNumber && value == 1;
}

} // namespace

ProfileStore::ProfileStore(QString applicationName)
    : applicationName_(std::move(applicationName)), usable_(profileFilesUsable(applicationName_)) {}

void ProfileStore::readDisplaySettings(DisplaySettings& display) const {
    if (!usable_) {
        display.showPatternName = display.antiAlias = true;
        return;
    }
    ConfigGroup config(applicationName_);
    display.showPatternName = switchOn(*config, SHOW_PATTERN_NAME_KEY);
    display.antiAlias = switchOn(*config, ANTI_ALIAS_KEY);
}

void ProfileStore::writeDisplaySettings(const DisplaySettings& display) const {
    if (!usable_)
        return;
    ConfigGroup config(applicationName_);
    config->setValue(SHOW_PATTERN_NAME_KEY, display.showPatternName ? 1 : 0);
    config->setValue(ANTI_ALIAS_KEY, display.antiAlias ? 1 : 0);
}

QString ProfileStore::patternPath() const {
    if (!usable_)
        return QDir::homePath() + '/';
    ConfigGroup config(applicationName_);
    return config->value(PATTERN_PATH_KEY, QDir::homePath() + '/').toString();
}

void ProfileStore::setPatternPath(const QString& folder) const {
    if (!usable_)
        return;
    ConfigGroup config(applicationName_);
    config->setValue(PATTERN_PATH_KEY, folder);
}

QString applicationNameFrom(const QString& programPath) {
    return QFileInfo(programPath).completeBaseName();
}

} // namespace lumivane
