// A small Win32 automation library for the end-to-end tests: starts the real
// updater, finds its windows, reads texts, rectangles and states, clicks and
// types through real input (SendInput, which respects disabled windows),
// reads and closes dialogs, and reports the exit code.
#pragma once

#include "host/unique_handle.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace automation {

using namespace std::chrono_literals;

// Polls `condition` until it holds or `timeout` passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5000ms);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
// The window's rectangle in its parent's client coordinates (for a top-level
// window: in screen coordinates).
RECT BoundsInParent(HWND window);
SIZE ClientSize(HWND window);

enum class IconKind { None, Stop, Information };

struct Dialog {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  IconKind icon = IconKind::None;
  std::vector<std::string> buttons;
};

// Real input, to the window under the pointer or with the keyboard focus.
void MouseDown(HWND window, POINT client, DWORD downFlag = MOUSEEVENTF_LEFTDOWN);
void MouseUp(HWND window, POINT client, DWORD upFlag = MOUSEEVENTF_LEFTUP);
void Click(HWND window, POINT client);
void ClickCentre(HWND window);
void PressKey(WORD key, const std::vector<WORD>& modifiers = {});

class UpdaterProcess {
 public:
  // Starts `program` with `environment` entries ("NAME=value") added.
  explicit UpdaterProcess(const std::string& program, const std::vector<std::string>& environment = {});
  ~UpdaterProcess();  // ends the process if it still runs
  UpdaterProcess(const UpdaterProcess&) = delete;
  UpdaterProcess& operator=(const UpdaterProcess&) = delete;

  DWORD Id() const { return id_; }
  bool Running() const;
  // The exit code, or STILL_ACTIVE when it did not end within `timeout`.
  DWORD WaitForExit(std::chrono::milliseconds timeout = 5000ms) const;

  // The visible main window; throws when none appears in time.
  HWND MainWindow(std::chrono::milliseconds timeout = 10000ms) const;
  HWND Control(int id) const;
  // Waits for the installation check to have run: the log holds a line or
  // the upgrade button has a new caption.
  void WaitForInstallationCheck() const;
  std::vector<std::string> LogLines() const;

  // The visible dialog or message box of this process, if one appears in time.
  bool FindDialog(Dialog& dialog, std::chrono::milliseconds timeout = 5000ms) const;
  // Closes the dialog with its OK button and waits until it has gone.
  void CloseDialog(const Dialog& dialog) const;

 private:
  UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// What the screen shows in a rectangle, row by row from the top.
struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> colours;
  COLORREF At(int x, int y) const { return colours[static_cast<std::size_t>(y) * width + x]; }
};
ScreenPixels CaptureScreen(const RECT& screenArea);

// Saves the screen rectangle as a 24-bit BMP file.
void SaveScreenshot(const RECT& screenArea, const std::string& path);

}  // namespace automation
