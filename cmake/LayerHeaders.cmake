# Each library sees its own headers and those of the libraries it links, and no
# others: its include folder in the build tree links to its own source folder
# (or to the few headers named), so an include from a layer above does not
# compile.
function(lumivane_headers target)
    set(folder ${PROJECT_BINARY_DIR}/include/${target})
    foreach(path ${ARGN})
        get_filename_component(parent ${folder}/${path} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        if(NOT EXISTS ${folder}/${path})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${folder}/${path} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} PUBLIC ${folder})
endfunction()
