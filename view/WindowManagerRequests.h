// A preview lives inside another program's window, where no window manager
// has a say. Qt's X11 platform still tells the window manager about every
// window it makes (it sends _NET_WM_STATE messages to the root window while
// creating it), and programs that watch the root window, such as screen
// lockers, see messages about a window that is none of the window manager's
// business. While blocked, every event this process sends to the root window
// for the window manager (with the substructure-redirect mask) is dropped.
#pragma once

namespace lumivane {

void blockWindowManagerRequests(bool blocked);
bool windowManagerRequestsBlocked();

} // namespace lumivane
