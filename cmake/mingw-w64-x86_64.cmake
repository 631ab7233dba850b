# Cross-builds for 64-bit Windows with Debian's mingw-w64 (posix threads), for example:
#   cmake -S . -B build-mingw -DORIVEL_CORE_ONLY=ON \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The programs carry their runtime (libstdc++, libgcc, winpthread) inside, so they run on
# a bare Windows or under wine without any DLL beside them; tests run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package keeps its loader out of PATH.
find_program(ORIVEL_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(ORIVEL_WINE64 NAMES wine64 wine)
if(ORIVEL_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORIVEL_WINE64})
endif()
