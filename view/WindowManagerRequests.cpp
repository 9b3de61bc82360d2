#include "view/WindowManagerRequests.h"

#include <xcb/xcb.h>

#include <dlfcn.h>

namespace lumivane {
namespace {
bool blockedFlag = false;
} // namespace

void blockWindowManagerRequests(bool blocked) {
    blockedFlag = blocked;
}

bool windowManagerRequestsBlocked() {
    return blockedFlag;
}

} // namespace lumivane

// The program exports this definition (see app/CMakeLists.txt), so that it
// stands in for libxcb's own for every caller in the process, Qt's platform
// plugin included; it hands everything else on to libxcb.
extern "C" xcb_void_cookie_t xcb_send_event(xcb_connection_t* connection, uint8_t propagate,
                                            xcb_window_t destination, uint32_t eventMask,
                                            const char* event) {
    using SendEvent =
        xcb_void_cookie_t (*)(xcb_connection_t*, uint8_t, xcb_window_t, uint32_t, const char*);
    static const auto libxcbSendEvent =
        reinterpret_cast<SendEvent>(dlsym(RTLD_NEXT, "xcb_send_event"));
    if (lumivane::windowManagerRequestsBlocked() &&
        (eventMask & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT) != 0) {
        return xcb_void_cookie_t{0};
    }
    return libxcbSendEvent(connection, propagate, destination, eventMask, event);
}
