// Program entry: the start-up order is title, main window (with its create
// handler), show, message loop, shutdown.
#include "app/application.h"
#include "app/error_report.h"
#include "app/test_faults.h"
#include "core/release_profile.h"
#include "host/installation_record.h"
#include "host/payload.h"
#include "ui/Unit1.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

namespace {

std::string TypeName(const std::exception& error) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(typeid(error).name(), nullptr, nullptr, &status),
                                                   &std::free);
  return status == 0 && name ? name.get() : typeid(error).name();
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
  char header[MAX_PATH + 200];
  std::snprintf(header, sizeof header, "Exception %s in module %s at %p.\n", TypeName(error).c_str(), moduleName,
                static_cast<void*>(GetModuleHandleA(nullptr)));
  const std::string text = header + std::string(error.what());
  MessageBoxA(nullptr, text.c_str(), "Application Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    TApplication application;
    application.Initialize();
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
