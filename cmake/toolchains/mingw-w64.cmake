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
# The linker writes no time stamp into a program's or a DLL's header, and the compiler writes the
# source and build folders under fixed names: the same commit built anywhere gives the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
# The build folder's map comes last, so that it wins for a build folder inside the source tree.
get_filename_component(AMBERSEL_SOURCE_TREE "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
foreach(language C CXX)
    set(CMAKE_${language}_FLAGS_INIT
        "-ffile-prefix-map=${AMBERSEL_SOURCE_TREE}=source -ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
endforeach()
# zlib goes into each program too (libz-mingw-w64-dev): its static library, not the import
# library of its DLL.
set(ZLIB_USE_STATIC_LIBS ON)
