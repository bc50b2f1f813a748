# GoogleTest and GoogleMock from Debian's sources, compiled with the build's
# own compiler and flags (the Windows cross compilers, -m32, the sanitizers).
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
if(WIN32)
  # Our port header comes before GoogleTest's own (see the header).
  foreach(target gtest gtest_main gmock gmock_main)
    target_include_directories(${target} BEFORE PUBLIC "${PROJECT_SOURCE_DIR}/tests/support/gtest_port")
  endforeach()
endif()
