# Optimised builds, the one the Debian package is made from included, use the
# compiler and linker flags Debian builds its own packages with: fortified
# library calls, stack protector, format checks, read-only relocations bound at
# start-up (relro, now) and a position-independent program (the compiler's
# default here). The sanitizer and debug builds keep their own flags: the
# fortified calls need optimisation and get in the sanitizers' way.
option(LUMIVANE_DEB_BUILDFLAGS "Build with the flags of dpkg-buildflags (hardening=+all)" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(LUMIVANE_DEB_BUILDFLAGS AND DPKG_BUILDFLAGS AND NOT LUMIVANE_SANITIZE
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        # The prefix map names the folder of each checkout, which would keep
        # ccache from sharing objects between checkouts; the package's program
        # is stripped of the paths it maps anyway.
        list(FILTER flags EXCLUDE REGEX "^-ffile-prefix-map=")
        if(kind STREQUAL "LDFLAGS")
            add_link_options(${flags})
        else()
            add_compile_options(${flags})
        endif()
    endforeach()
    message(STATUS "Compiler and linker flags of dpkg-buildflags: on")
endif()
