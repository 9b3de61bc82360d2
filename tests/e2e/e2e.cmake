# End-to-end tests: the built program on a virtual X server of its own (Xvfb),
# driven with xdotool and checked with screenshots. Included from
# tests/CMakeLists.txt when the Qt program is built.
find_package(PkgConfig REQUIRED)
pkg_check_modules(E2E_XCB REQUIRED IMPORTED_TARGET xcb)

# A window of "another program" for the preview to draw into.
add_executable(lumivane_x_host ${CMAKE_CURRENT_LIST_DIR}/x_host.cpp)
target_link_libraries(lumivane_x_host PRIVATE PkgConfig::E2E_XCB)

# A stand-in compositor offering ext-idle-notify-v1, which no compositor of
# Debian 12 does, for the idle watcher's first source.
pkg_check_modules(E2E_WAYLAND REQUIRED IMPORTED_TARGET wayland-server)
pkg_get_variable(E2E_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(E2E_PROTOCOLS wayland-protocols pkgdatadir)
set(E2E_EXT_IDLE_XML ${E2E_PROTOCOLS}/staging/ext-idle-notify/ext-idle-notify-v1.xml)
set(E2E_GENERATED ${CMAKE_CURRENT_BINARY_DIR}/e2e-protocols)
file(MAKE_DIRECTORY ${E2E_GENERATED})
add_custom_command(
    OUTPUT ${E2E_GENERATED}/ext-idle-notify-v1-server-protocol.h
           ${E2E_GENERATED}/ext-idle-notify-v1-protocol.c
    COMMAND ${E2E_SCANNER} server-header ${E2E_EXT_IDLE_XML}
            ${E2E_GENERATED}/ext-idle-notify-v1-server-protocol.h
    COMMAND ${E2E_SCANNER} private-code ${E2E_EXT_IDLE_XML}
            ${E2E_GENERATED}/ext-idle-notify-v1-protocol.c
    DEPENDS ${E2E_EXT_IDLE_XML} VERBATIM)
add_executable(lumivane_ext_idle_compositor ${CMAKE_CURRENT_LIST_DIR}/ext_idle_compositor.cpp
               ${E2E_GENERATED}/ext-idle-notify-v1-server-protocol.h
               ${E2E_GENERATED}/ext-idle-notify-v1-protocol.c)
target_include_directories(lumivane_ext_idle_compositor PRIVATE ${E2E_GENERATED})
target_link_libraries(lumivane_ext_idle_compositor PRIVATE PkgConfig::E2E_WAYLAND)

function(lumivane_e2e_test name script)
    add_test(NAME ${name}
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script} $<TARGET_FILE:lumivane>
                     $<TARGET_FILE:lumivane_x_host> ${ARGN})
    # Timings are part of what is checked: these run alone.
    set_tests_properties(${name} PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE SKIP_RETURN_CODE 77
                                            LABELS e2e)
    if(LUMIVANE_SANITIZE)
        # Sanitized programs start and end a few times slower: longer time limits.
        set_tests_properties(${name} PROPERTIES TIMEOUT 300
                                                ENVIRONMENT LUMIVANE_E2E_TIME_FACTOR=3)
    endif()
endfunction()

lumivane_e2e_test(e2e_fullscreen fullscreen.sh)
lumivane_e2e_test(e2e_preview preview.sh)
lumivane_e2e_test(e2e_hack_options hack.sh)
lumivane_e2e_test(e2e_xscreensaver xscreensaver.sh)
lumivane_e2e_test(e2e_configure configure.sh)
lumivane_e2e_test(e2e_wayland wayland.sh)

# The idle watcher (--idle) with each idle source a machine without a desktop
# can offer: the X server, headless sway, and GNOME's services as stand-ins;
# its autostart entry.
lumivane_e2e_test(e2e_idle_x11 idle_x11.sh)
lumivane_e2e_test(e2e_idle_ext idle_ext.sh $<TARGET_FILE:lumivane_ext_idle_compositor>)
lumivane_e2e_test(e2e_idle_sway idle_sway.sh)
lumivane_e2e_test(e2e_idle_gnome idle_gnome.sh)
lumivane_e2e_test(e2e_idle_autostart idle_autostart.sh)
# These mostly wait for idle times and check only that things did not happen too
# early, so they may run beside other tests.
set_tests_properties(e2e_idle_x11 e2e_idle_ext e2e_idle_sway e2e_idle_gnome e2e_idle_autostart
                     PROPERTIES RUN_SERIAL FALSE)
