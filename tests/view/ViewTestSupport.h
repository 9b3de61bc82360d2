// The Qt application and the process-wide objects the view tests share. The
// offscreen platform presents three screens: "left" 800x600 at (0, 0),
// "right" 640x480 at (800, 0) and "dense", 400x300 device pixels at (1440, 0)
// with two device pixels to the logical pixel. Which one is primary is the
// platform's choice.
#pragma once

#include "engine/Scene.h"
#include "patterns/DataStore.h"
#include "view/DisplayPower.h"
#include "view/DisplaySettings.h"
#include "view/ViewEnvironment.h"

#include <QApplication>
#include <QScreen>

#include <cstdint>
#include <memory>

namespace lumivane::test {

QApplication& testApplication();

QScreen* screenNamed(const QString& name);

// Runs the event loop for about ms milliseconds.
void spin(int ms);
// Runs the event loop until the widget's window is exposed (it paints only then),
// for at most a second; false if it never was.
bool waitUntilExposed(QWidget& widget);

// A display whose power the test switches.
class FakePower : public DisplayPowerSource {
  public:
    bool isOn() override { return on; }
    bool on = true;
};

// Options, store and scenes for one test, with a clock the test sets and a
// display power of its own.
struct ViewWorld {
    ViewWorld();
    ViewEnvironment environment();
    // Switches the display's power and lets the views know at once.
    void setDisplayPower(bool on);

    DisplaySettings display;
    DataStore store;
    std::unique_ptr<Scene> scene = std::make_unique<Scene>();
    std::unique_ptr<Scene> editorScene = std::make_unique<Scene>();
    std::uint32_t now = 100000;
    FakePower* powerSource = nullptr;
    std::unique_ptr<DisplayPowerWatch> power;
};

// A pattern with no pieces: only the background is drawn.
Pattern emptyPattern(ColourRef background, const char* name);

} // namespace lumivane::test
