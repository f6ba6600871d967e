# ambersel_stage_host_headers(NAME FOLDER): makes the header-only library whose headers are in
# /usr/include/FOLDER usable by the cross build, and returns in NAME_INCLUDE_DIR the folder to add to
# the include path.
#
# /usr/include itself must never reach a cross compile: its C library headers would be found before
# the target's own. A folder of the build tree holding only a link to FOLDER exposes just that
# library.
function(ambersel_stage_host_headers name folder)
    set(staged ${CMAKE_BINARY_DIR}/host-headers/${name})
    file(MAKE_DIRECTORY ${staged})
    if(NOT EXISTS ${staged}/${folder})
        file(CREATE_LINK /usr/include/${folder} ${staged}/${folder} SYMBOLIC)
    endif()
    set(${name}_INCLUDE_DIR ${staged} PARENT_SCOPE)
endfunction()
