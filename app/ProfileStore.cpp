#include "app/ProfileStore.h"

#include "view/DisplaySettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

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

bool switchOn(QSettings& settings, const char* key) {
    bool isNumber = false;
    const int value = settings.value(key, 1).toInt(&isNumber);
    return isNumber && value == 1;
}

} // namespace

void ProfileStore::readDisplaySettings(DisplaySettings& display) const {
    ConfigGroup config(applicationName_);
    display.showPatternName = switchOn(*config, SHOW_PATTERN_NAME_KEY);
    display.antiAlias = switchOn(*config, ANTI_ALIAS_KEY);
}

void ProfileStore::writeDisplaySettings(const DisplaySettings& display) const {
    ConfigGroup config(applicationName_);
    config->setValue(SHOW_PATTERN_NAME_KEY, display.showPatternName ? 1 : 0);
    config->setValue(ANTI_ALIAS_KEY, display.antiAlias ? 1 : 0);
}

QString ProfileStore::patternPath() const {
    ConfigGroup config(applicationName_);
    return config->value(PATTERN_PATH_KEY, QDir::homePath() + '/').toString();
}

void ProfileStore::setPatternPath(const QString& folder) const {
    ConfigGroup config(applicationName_);
    config->setValue(PATTERN_PATH_KEY, folder);
}

QString applicationNameFrom(const QString& programPath) {
    return QFileInfo(programPath).completeBaseName();
}

} // namespace lumivane
