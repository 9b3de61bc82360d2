# End-to-end tests: the built program on a virtual X server of its own (Xvfb),
# driven with xdotool and checked with screenshots. Included from
# tests/CMakeLists.txt when the Qt program is built.
find_package(PkgConfig REQUIRED)
pkg_check_modules(E2E_XCB REQUIRED IMPORTED_TARGET xcb)

# A window of "another program" for the preview to draw into.
add_executable(lumivane_x_host ${CMAKE_CURRENT_LIST_DIR}/x_host.cpp)
target_link_libraries(lumivane_x_host PRIVATE PkgConfig::E2E_XCB)

function(lumivane_e2e_test name script)
    add_test(NAME ${name}
             COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script} $<TARGET_FILE:lumivane>
                     $<TARGET_FILE:lumivane_x_host>)
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
