# What the MinGW-w64 toolchain files share: the compilers of AMBERSEL_MINGW_TRIPLET (set by the
# file that includes this one) in their POSIX-threads variant, whose C++ library has std::thread and
# std::mutex, the target's own libraries and headers only, and programs linked statically, so that
# an .exe needs no DLL beside it on a bare Windows.

set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${AMBERSEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${AMBERSEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${AMBERSEL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${AMBERSEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthreads go into each program; only system DLLs stay outside.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
