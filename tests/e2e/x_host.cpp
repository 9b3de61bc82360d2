// A stand-in for a program that offers its window to a preview: creates a
// top-level window on the X server, prints its id, then follows commands read
// from standard input, one a line:
//   resize W H   change the window's size
//   unmap, map   hide the window and show it again
//   destroy      destroy the window (the program keeps running)
//   messages     answer with the number of client messages about other windows
//                sent to the root window so far, as a program watching the root
//                window (a screen locker) sees them
//   quit         end (also at end of input)
// Usage: lumivane_x_host [WIDTH HEIGHT [X Y]]
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

namespace {

constexpr std::uint32_t HOST_BACKGROUND = 0x203040;

int argumentOr(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::atoi(argv[index]) : fallback;
}

xcb_window_t createHost(xcb_connection_t* connection, int x, int y, int width, int height) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t values[] = {HOST_BACKGROUND, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root,
                      static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_map_window(connection, window);
    return window;
}

void resize(xcb_connection_t* connection, xcb_window_t window, std::uint32_t width,
            std::uint32_t height) {
    const std::uint32_t size[] = {width, height};
    xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         size);
}

// A round trip, so that the request has reached the server before we answer.
void sync(xcb_connection_t* connection) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

} // namespace

int main(int argc, char** argv) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::cerr << "lumivane_x_host: no X server\n";
        return 1;
    }
    const xcb_window_t window =
        createHost(connection, argumentOr(argc, argv, 3, 10), argumentOr(argc, argv, 4, 10),
                   argumentOr(argc, argv, 1, 320), argumentOr(argc, argv, 2, 240));
    const std::uint32_t rootEvents[] = {XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_change_window_attributes(connection,
                                 xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root,
                                 XCB_CW_EVENT_MASK, rootEvents);
    sync(connection);
    int rootMessages = 0;
    std::cout << window << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "resize") {
            std::uint32_t width = 0;
            std::uint32_t height = 0;
            words >> width >> height;
            resize(connection, window, width, height);
        } else if (command == "unmap") {
            xcb_unmap_window(connection, window);
        } else if (command == "map") {
            xcb_map_window(connection, window);
        } else if (command == "destroy") {
            xcb_destroy_window(connection, window);
        } else if (command == "quit") {
            break;
        }
        sync(connection);
        if (command == "messages") {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
                const bool aboutAnother =
                    (event->response_type & 0x7F) == XCB_CLIENT_MESSAGE &&
                    reinterpret_cast<xcb_client_message_event_t*>(event)->window != window;
                rootMessages += aboutAnother ? 1 : 0;
                std::free(event);
            }
            std::cout << rootMessages << std::endl;
            continue;
        }
        std::cout << "ok" << std::endl;
    }
    xcb_disconnect(connection);
    return 0;
}
