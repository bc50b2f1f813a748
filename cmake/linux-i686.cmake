# The core built as a 32-bit x86 Linux program, so that the version
# arithmetic is tested on the 32-bit instruction set that ships. It runs
# directly where the machine runs 32-bit code, and under qemu-i386 elsewhere:
# VELNA_I386_EMULATOR names the emulator, empty for none (tools/test.sh asks
# the machine).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")
set(VELNA_I386_EMULATOR qemu-i386-static CACHE STRING "Runs the 32-bit test programs; empty where they run directly")
if(VELNA_I386_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${VELNA_I386_EMULATOR}")
else()
  unset(CMAKE_CROSSCOMPILING_EMULATOR)
endif()
