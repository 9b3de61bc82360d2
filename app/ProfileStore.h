// The per-user profile: two display switches and the last pattern-bank folder,
// kept under the company key and the application's own key in group "Config".
// On Linux this is an INI file under $XDG_CONFIG_HOME.
#pragma once

#include <QString>

namespace lumivane {

struct DisplaySettings;

inline constexpr const char* PROFILE_COMPANY = "Lumivane Screensaver";

class ProfileStore {
  public:
    // A profile whose files are not regular files (a FIFO, a device) is
    // neither read nor written; its switches keep their defaults.
    explicit ProfileStore(QString applicationName);

    // showPatternName and antiAlias are on only for the value 1 (1 when absent).
    void readDisplaySettings(DisplaySettings& display) const;
    // Writes both switches as 1 or 0.
    void writeDisplaySettings(const DisplaySettings& display) const;

    // Start folder of the pattern-bank file dialogs, ending in '/'; the home
    // folder when none was stored.
    QString patternPath() const;
    void setPatternPath(const QString& folder) const;

    const QString& applicationName() const { return applicationName_; }

  private:
    QString applicationName_;
    bool usable_ = true;
};

// The program's file name without its folder and extension.
QString applicationNameFrom(const QString& programPath);

} // namespace lumivane
