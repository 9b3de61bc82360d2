// Ending the event loop cleanly on SIGTERM, SIGINT and SIGHUP, the way a
// screen locker or screen-saver daemon ends the saver it started, and then
// ending the process by that signal, so that whoever started it sees it was
// ended as asked (a daemon logs a hack that exits by itself as abnormal).
#pragma once

namespace lumivane {

// Installs the handlers; the event loop then quits with status 0 on any of the
// three signals. Needs the application object; calling it again does nothing.
// Returns false when the handlers could not be installed.
bool quitOnTerminationSignals();

// Once everything is cleaned up: when a termination signal arrived, ends the
// process by that signal with its default action. Returns otherwise.
void endByReceivedSignal();

} // namespace lumivane
