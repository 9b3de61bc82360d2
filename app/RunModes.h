// The run modes that open windows. Each is called by SaverApp::startUp after
// the settings and the data file were read.
#pragma once

#include "ui/DialogContext.h"

namespace lumivane {

class ModalRunner;
class SaverApp;

// The preview inside the host's window hostHandle. Returns true when the
// preview window was made and the event loop is to run.
bool startPreview(SaverApp& app, long long hostHandle);

// The full-screen saver. Returns true when its window was made.
bool startFullScreen(SaverApp& app);

// The configuration dialog, run to its end. On OK it saves the settings
// (SaverApp::saveSettings); any other ending writes nothing.
void runConfiguration(SaverApp& app);

// The two halves of the configuration mode around the dialog itself: what the
// dialog works with (the quick-help cursors are made here), and what its
// ending writes.
DialogContext configurationContext(SaverApp& app, ModalRunner& runner);
void finishConfiguration(SaverApp& app, bool accepted);

} // namespace lumivane
