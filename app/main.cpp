// Program entry: the start-up order is title, main window (with its create
// handler), show, message loop, shutdown.
#include "app/application.h"
#include "app/error_report.h"
#include "app/test_faults.h"
#include "core/release_profile.h"
#include "host/installation_record.h"
#include "host/payload.h"
#include "ui/Unit1.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <typeinfo>

namespace {

// The error's class, as the report names it.
std::string TypeName(const std::exception& error) {
  if (dynamic_cast<const std::runtime_error*>(&error)) return "std::runtime_error";
  return "std::exception";
}

// As printf's "%p" writes an address: upper-case hex digits, padded with
// zeros to the width of a pointer (eight in the 32-bit updater).
std::string PointerText(std::uintptr_t value) {
  std::string text(2 * sizeof(void*), '0');
  for (auto digit = text.rbegin(); digit != text.rend() && value != 0; ++digit, value >>= 4) {
    *digit = "0123456789ABCDEF"[value & 0xF];
  }
  return text;
}

// An error outside every handler during start-up: reported, and the process
// ends with exit code 1.
void ShowFatalError(const std::exception& error) {
  char modulePath[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
  const char* moduleName = modulePath;
  for (const char* c = modulePath; *c; ++c) {
    if (*c == '\\' || *c == '/') moduleName = c + 1;
  }
  // The place of the error is not known once it has been caught; the
  // module's base stands for it.
  const std::string address = PointerText(reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)));
  const std::string text = "Exception " + TypeName(error) + " in module " + moduleName + " at " + address + ".\n" +
                           error.what();
  MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL: only from the system folder, never from
  // the folder the updater was started from (a Downloads folder, say).
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  try {
    TApplication application;
    application.SetTitle(ApplicationTitle);
    RaiseTestFault("Startup");
    RegistryInstallationRecord record;
    ResourcePayloadInstaller payload;
    TForm1 Form1(record, payload);
    application.Run(Form1);
  } catch (const std::exception& error) {
    ShowFatalError(error);
    return 1;
  }
  return 0;
}
