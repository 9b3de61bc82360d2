# The sanitizer build: every target compiled with AddressSanitizer (leak
# checking included) and UndefinedBehaviorSanitizer, every error fatal, and the
# runtime settings and leak suppressions built into each program.
# Included from the top-level CMakeLists.txt when LUMIVANE_SANITIZE is on.
add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
# GCC's UndefinedBehaviorSanitizer is a runtime of its own; linked statically,
# its start-up sets its own report file (log_path in UBSAN_OPTIONS), not
# AddressSanitizer's through the function both shared runtimes export.
add_link_options(-fsanitize=address,undefined,float-cast-overflow -static-libubsan)

set(LUMIVANE_LSAN_SUPPRESSIONS_FILE ${CMAKE_CURRENT_LIST_DIR}/lsan.supp)
file(READ ${LUMIVANE_LSAN_SUPPRESSIONS_FILE} LUMIVANE_LSAN_SUPPRESSIONS)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LUMIVANE_LSAN_SUPPRESSIONS_FILE})
set(LUMIVANE_SANITIZER_DEFAULTS ${PROJECT_BINARY_DIR}/SanitizerDefaults.cpp)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Defaults.cpp.in ${LUMIVANE_SANITIZER_DEFAULTS} @ONLY)

# The runtime reads its defaults from functions of the program itself, so each
# executable gets the file; run once every folder has defined its targets.
function(lumivane_add_sanitizer_defaults folder)
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "EXECUTABLE")
            target_sources(${target} PRIVATE ${LUMIVANE_SANITIZER_DEFAULTS})
        endif()
    endforeach()
    get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    foreach(subfolder IN LISTS subfolders)
        lumivane_add_sanitizer_defaults(${subfolder})
    endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL lumivane_add_sanitizer_defaults
               ${PROJECT_SOURCE_DIR})
