#include "frame/test_faults.h"

#include <windows.h>

#include <cstddef>
#include <limits>
#include <new>
#include <string>

namespace {

bool ReadFault(const char* name, std::string& value) {
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, "Software\\VelnaTestFaults", name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  value = buffer;
  return true;
}

}  // namespace

Status TestFault(const char* place, const char* kind) {
  std::string message;
  if (ReadFault(place, message)) return Error{kind, message};
  return {};
}

bool TestFaultSet(const char* name) {
  std::string ignored;
  return ReadFault(name, ignored);
}

void TestFaultExhaustMemory(const char* name) {
  if (!TestFaultSet(name)) return;
  void* volatile memory = ::operator new(std::numeric_limits<std::size_t>::max() / 2);
  ::operator delete(memory);
}
