// "About this program...": the program's name and version.
#pragma once

#include <QDialog>

namespace lumivane {

inline constexpr const char* PROGRAM_TITLE = "Lumivane Kaleidoscopic Screensaver";
inline constexpr const char* PROGRAM_VERSION = LUMIVANE_VERSION;

class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace lumivane
