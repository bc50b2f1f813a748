# Cross-compiling for Windows with MinGW-w64. VELNA_MINGW_TRIPLET names the
# target: i686-w64-mingw32 is what ships; x86_64-w64-mingw32 is the twin that
# runs the Windows tests under wine64 where the machine runs no 32-bit code
# (see README).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)
if(NOT VELNA_MINGW_TRIPLET)
  set(VELNA_MINGW_TRIPLET i686-w64-mingw32)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELNA_MINGW_TRIPLET)
if(VELNA_MINGW_TRIPLET MATCHES "^i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
else()
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()

# The win32 thread model, for the updater and its test programs alike: the
# updater needs no DLL beyond the system's own, and is 32 KB smaller than with
# winpthreads. Everything is linked statically.
set(CMAKE_C_COMPILER ${VELNA_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${VELNA_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${VELNA_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELNA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh")
