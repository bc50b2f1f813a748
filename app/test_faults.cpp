#include "app/test_faults.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace {

bool ReadFault(const char* name, std::string& value) {
  char buffer[1024] = {};
  const std::string variable = std::string("VELNA_FAULT_") + name;
  const DWORD length = GetEnvironmentVariableA(variable.c_str(), buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return false;
  value.assign(buffer, length);
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
