#include "app/fatal_report.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

// As printf's "%p" writes an address: upper-case hex digits, padded with
// zeros to the width of a pointer (eight in the 32-bit updater).
std::string PointerText(std::uintptr_t value) {
  std::string text(2 * sizeof(void*), '0');
  for (auto digit = text.rbegin(); digit != text.rend() && value != 0; ++digit, value >>= 4) {
    *digit = "0123456789ABCDEF"[value & 0xF];
  }
  return text;
}

}  // namespace

int ShowFatalError(const Error& error) {
  char modulePath[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
  const char* moduleName = modulePath;
  for (const char* c = modulePath; *c; ++c) {
    if (*c == '\\' || *c == '/') moduleName = c + 1;
  }
  // The place of the error is not known once it has been handed back; the
  // module's base stands for it.
  const std::string address = PointerText(reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)));
  const std::string text = std::string("Exception ") + error.kind + " in module " + moduleName + " at " + address +
                           ".\n" + error.message;
  MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  return 1;
}
