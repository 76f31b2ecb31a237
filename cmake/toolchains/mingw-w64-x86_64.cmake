# Windows x64 from this Debian machine: MinGW-w64 with POSIX threads
# (Debian's g++-mingw-w64-x86-64-posix), programs linked statically so that
# they run from any folder on Windows 10 or 11 without DLLs beside them.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
# Libraries: the toolchain's own (/usr/x86_64-w64-mingw32: zlib from
# libz-mingw-w64-dev) and what scripts/windows-deps.sh builds from Debian's
# sources into $PALLIX_TOOLS_DIR/mingw-w64 (libpng). The tests run under
# Wine (scripts/wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PALLIX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PALLIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PALLIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PALLIX_MINGW_TRIPLET}-windres)

if(DEFINED ENV{PALLIX_TOOLS_DIR})
  set(PALLIX_WINDOWS_DEPS "$ENV{PALLIX_TOOLS_DIR}/mingw-w64")
else()
  set(PALLIX_WINDOWS_DEPS "$ENV{HOME}/.cache/pallix-tools/mingw-w64")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${PALLIX_MINGW_TRIPLET} ${PALLIX_WINDOWS_DEPS})
# Programs from this machine; headers and libraries only from the Windows side.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No DLLs: the C and C++ runtimes, winpthreads and zlib go into each program.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows programs built here run under Wine: ctest and test discovery
# start them through this script.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run.sh --prefix ${CMAKE_BINARY_DIR}/wine)
