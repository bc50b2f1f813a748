# GoogleTest and GoogleMock from Debian's sources, compiled with the build's
# own compiler and flags (the Windows cross compilers, -m32, the sanitizers).
# A Windows build with the win32 thread model has no std::mutex, which
# GoogleTest needs: it builds no GoogleTest programs.
set(VELNA_HAVE_GTEST ON)
if(WIN32 AND VELNA_MINGW_THREADS STREQUAL "win32")
  set(VELNA_HAVE_GTEST OFF)
  return()
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
