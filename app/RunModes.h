// The run modes that open windows. Each is called by SaverApp::startUp after
// the settings and the data file were read.
#pragma once

namespace lumivane {

class SaverApp;

// The preview inside the host's window hostHandle. Returns true when the
// preview window was made and the event loop is to run.
bool startPreview(SaverApp& app, long long hostHandle);

// The full-screen saver. Returns true when its window was made.
bool startFullScreen(SaverApp& app);

// The configuration dialog, run to its end. On OK it saves the settings
// (SaverApp::saveSettings); any other ending writes nothing.
void runConfiguration(SaverApp& app);

} // namespace lumivane
