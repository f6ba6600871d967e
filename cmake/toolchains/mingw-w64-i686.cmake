# Cross-compiles for 32-bit Windows with MinGW-w64 on Debian (package g++-mingw-w64-i686-posix):
# the C library only, for the lab programs that are still 32-bit (the windows32 preset).
#
# Every double of the figure must be an IEEE double: evaluation/ asks for SSE2 arithmetic instead
# of the x87 unit, whose 80-bit registers would round differently. A 32-bit DLL therefore needs a
# processor with SSE2 (every x86 processor since 2003).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(AMBERSEL_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${AMBERSEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${AMBERSEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${AMBERSEL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${AMBERSEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
