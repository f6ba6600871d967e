# Cross-compiles for 32-bit Windows with MinGW-w64 on Debian (package g++-mingw-w64-i686-posix):
# the C library only, for the lab programs that are still 32-bit (the windows32 preset). This
# machine's Wine runs 64-bit programs only, so nothing built here is run.
#
# Every double of the figure must be an IEEE double: evaluation/ asks for SSE2 arithmetic instead
# of the x87 unit, whose 80-bit registers would round differently. A 32-bit DLL therefore needs a
# processor with SSE2 (every x86 processor since 2003).

set(CMAKE_SYSTEM_PROCESSOR x86)
set(AMBERSEL_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
