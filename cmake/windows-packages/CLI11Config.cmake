# CLI11 for the Windows cross build: the host's header-only library (libcli11-dev).
if(NOT TARGET CLI11::CLI11)
    include(${CMAKE_CURRENT_LIST_DIR}/stage-host-headers.cmake)
    ambersel_stage_host_headers(CLI11 CLI)
    add_library(CLI11::CLI11 INTERFACE IMPORTED)
    set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${CLI11_INCLUDE_DIR})
endif()
