// A stand-in Wayland compositor with nothing but a seat and ext-idle-notify-v1,
// for testing the idle watcher's first source where no compositor of this
// system offers that protocol. Each idle notification fires "idled" once its
// timeout has passed without input and "resumed" on the next input, as a
// compositor does. It prints its socket name, then reads commands on standard
// input: "input" (the user stirs) and "quit". It serves in $XDG_RUNTIME_DIR.
#include "ext-idle-notify-v1-server-protocol.h"

#include <wayland-server.h>

#include <algorithm>
#include <cstdio>
#include <list>
#include <string>

#include <unistd.h>

namespace {

struct Notification {
    wl_resource* resource = nullptr;
    wl_event_source* timer = nullptr;
    uint32_t timeout = 0;
    bool idle = false;
};

wl_display* display = nullptr;
std::list<Notification> notifications;

int fireIdle(void* data) {
    auto* notification = static_cast<Notification*>(data);
    if (!notification->idle) {
        notification->idle = true;
        ext_idle_notification_v1_send_idled(notification->resource);
    }
    return 0;
}

void arm(Notification& notification) {
    // A timeout of 0 would disarm the timer; one millisecond stands for it.
    wl_event_source_timer_update(notification.timer,
                                 static_cast<int>(std::max<uint32_t>(notification.timeout, 1)));
}

void userInput() {
    for (Notification& notification : notifications) {
        if (notification.idle) {
            notification.idle = false;
            ext_idle_notification_v1_send_resumed(notification.resource);
        }
        arm(notification);
    }
}

void destroyResource(wl_client*, wl_resource* resource) {
    wl_resource_destroy(resource);
}

void forgetNotification(wl_resource* resource) {
    auto* notification = static_cast<Notification*>(wl_resource_get_user_data(resource));
    wl_event_source_remove(notification->timer);
    notifications.remove_if([notification](const Notification& n) { return &n == notification; });
}

const struct ext_idle_notification_v1_interface NOTIFICATION_IMPLEMENTATION { destroyResource };

void getIdleNotification(wl_client* client, wl_resource* notifier, uint32_t id, uint32_t timeout,
                         wl_resource*) {
    wl_resource* resource = wl_resource_create(client, &ext_idle_notification_v1_interface,
                                               wl_resource_get_version(notifier), id);
    Notification& notification = notifications.emplace_back();
    notification.resource = resource;
    notification.timeout = timeout;
    notification.timer =
        wl_event_loop_add_timer(wl_display_get_event_loop(display), fireIdle, &notification);
    wl_resource_set_implementation(resource, &NOTIFICATION_IMPLEMENTATION, &notification,
                                   forgetNotification);
    arm(notification);
}

const struct ext_idle_notifier_v1_interface NOTIFIER_IMPLEMENTATION {
    destroyResource, getIdleNotification
};

void bindNotifier(wl_client* client, void*, uint32_t version, uint32_t id) {
    wl_resource* resource =
        wl_resource_create(client, &ext_idle_notifier_v1_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(resource, &NOTIFIER_IMPLEMENTATION, nullptr, nullptr);
}

// A seat without devices: its device requests hand out inert objects.
void getDevice(wl_client* client, wl_resource* seat, uint32_t id, const wl_interface* interface) {
    wl_resource_create(client, interface, wl_resource_get_version(seat), id);
}
void getPointer(wl_client* c, wl_resource* s, uint32_t id) {
    getDevice(c, s, id, &wl_pointer_interface);
}
void getKeyboard(wl_client* c, wl_resource* s, uint32_t id) {
    getDevice(c, s, id, &wl_keyboard_interface);
}
void getTouch(wl_client* c, wl_resource* s, uint32_t id) {
    getDevice(c, s, id, &wl_touch_interface);
}
const struct wl_seat_interface SEAT_IMPLEMENTATION { getPointer, getKeyboard, getTouch, nullptr };

void bindSeat(wl_client* client, void*, uint32_t version, uint32_t id) {
    wl_resource* resource =
        wl_resource_create(client, &wl_seat_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(resource, &SEAT_IMPLEMENTATION, nullptr, nullptr);
    wl_seat_send_capabilities(resource, 0);
}

int readCommand(int fd, uint32_t, void*) {
    static std::string pending;
    char buffer[256];
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count <= 0) {
        wl_display_terminate(display);
        return 0;
    }
    pending.append(buffer, static_cast<std::size_t>(count));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
        const std::string command = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (command == "input")
            userInput();
        else if (command == "quit")
            wl_display_terminate(display);
    }
    wl_display_flush_clients(display);
    return 0;
}

} // namespace

int main() {
    display = wl_display_create();
    const char* socket = wl_display_add_socket_auto(display);
    if (socket == nullptr) {
        std::perror("no Wayland socket in $XDG_RUNTIME_DIR");
        return 1;
    }
    wl_global_create(display, &wl_seat_interface, 1, nullptr, bindSeat);
    wl_global_create(display, &ext_idle_notifier_v1_interface, 1, nullptr, bindNotifier);
    wl_event_loop_add_fd(wl_display_get_event_loop(display), STDIN_FILENO, WL_EVENT_READABLE,
                         readCommand, nullptr);
    std::printf("%s\n", socket);
    std::fflush(stdout);
    wl_display_run(display);
    wl_display_destroy_clients(display);
    wl_display_destroy(display);
    return 0;
}
