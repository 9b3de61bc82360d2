// Ending the event loop cleanly on SIGTERM, SIGINT and SIGHUP, the way a
// screen locker or screen-saver daemon ends the saver it started.
#pragma once

namespace lumivane {

// Installs the handlers; the event loop then quits with status 0 on any of the
// three signals. Needs the application object; calling it again does nothing.
// Returns false when the handlers could not be installed.
bool quitOnTerminationSignals();

} // namespace lumivane
