# Cross-compiles for 64-bit Windows with MinGW-w64 on Debian (package g++-mingw-w64-x86-64-posix).
# Programs built here (tests, by CTest) run under Wine through cmake/wine-run.

set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(AMBERSEL_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../wine-run)
endif()
