// Drives one upgrade through the real window for the demo, printing what a
// user would see: the log, the dialog and the exit code, with screenshots.
//   demo_driver UPDATER SCREENSHOT_FOLDER
#include "tests/e2e/automation.h"

#include <cstdio>
#include <string>

using namespace automation;

namespace {

constexpr int kButton2Id = 102;
constexpr int kLbSpeedButton1Id = 103;

void PrintLog(const UpdaterProcess& updater) {
  std::printf("  status log:\n");
  for (const auto& line : updater.LogLines()) std::printf("    | %s\n", line.c_str());
}

void Shot(HWND window, const std::string& folder, const char* name) {
  RECT area;
  GetWindowRect(window, &area);
  InflateRect(&area, 8, 8);
  SaveScreenshot(area, folder + "\\" + name + ".bmp");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: demo_driver UPDATER SCREENSHOT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[2];
  CreateDirectoryA(folder.c_str(), nullptr);
  try {
    UpdaterProcess updater(argv[1]);
    const HWND main = updater.MainWindow();
    std::printf("  window: \"%s\"\n", WindowText(main).c_str());
    updater.WaitForInstallationCheck();
    const HWND upgrade = updater.Control(kButton2Id);
    PrintLog(updater);
    std::printf("  upgrade button: \"%s\" (%s)\n", WindowText(upgrade).c_str(),
                IsWindowEnabled(upgrade) ? "enabled" : "disabled");
    Shot(main, folder, "demo-1-before");

    if (IsWindowEnabled(upgrade)) {
      std::printf("  pressing \"%s\"\n", WindowText(upgrade).c_str());
      ClickCentre(upgrade);
      Dialog dialog;
      if (updater.FindDialog(dialog)) {
        std::printf("  dialog \"%s\": %s\n", dialog.caption.c_str(), dialog.text.c_str());
        Shot(dialog.window, folder, "demo-2-dialog");
        updater.CloseDialog(dialog);
      }
      PrintLog(updater);
      Shot(main, folder, "demo-3-after");
    }
    std::printf("  pressing \"Inchide\"\n");
    ClickCentre(updater.Control(kLbSpeedButton1Id));
    std::printf("  exit code: %lu\n", updater.WaitForExit());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "demo: %s\n", error.what());
    return 1;
  }
  return 0;
}
