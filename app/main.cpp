// Program entry: the start-up order is title, main window (with its create
// handler), show, message loop, shutdown. An error before the message loop
// runs is fatal.
#include "app/fatal_report.h"
#include "core/release_profile.h"
#include "frame/application.h"
#include "frame/test_faults.h"
#include "host/installation_record.h"
#include "host/payload.h"
#include "ui/Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL: only from the system folder, never from
  // the folder the updater was started from (a Downloads folder, say).
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

  TApplication application;
  if (Status created = application.Create(); !created.ok()) return ShowFatalError(created.error());
  application.SetTitle(ApplicationTitle);
  // As if a window could not be made.
  if (Status fault = TestFault("Startup", kOSError); !fault.ok()) return ShowFatalError(fault.error());
  TestFaultExhaustMemory("OutOfMemory");
  RegistryInstallationRecord record;
  ResourcePayloadInstaller payload;
  TForm1 Form1(record, payload);
  if (Status created = Form1.Create(); !created.ok()) return ShowFatalError(created.error());
  application.Run(Form1);
  return 0;
}
