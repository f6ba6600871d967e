# nlohmann-json for the Windows cross build: the host's header-only library (nlohmann-json3-dev).
if(NOT TARGET nlohmann_json::nlohmann_json)
    include(${CMAKE_CURRENT_LIST_DIR}/stage-host-headers.cmake)
    ambersel_stage_host_headers(nlohmann_json nlohmann)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${nlohmann_json_INCLUDE_DIR})
endif()
