#include "app/test_faults.h"

#include <windows.h>

#include <stdexcept>
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

void RaiseTestFault(const char* place) {
  std::string message;
  if (ReadFault(place, message)) throw std::runtime_error(message);
}

bool TestFaultSet(const char* name) {
  std::string ignored;
  return ReadFault(name, ignored);
}
