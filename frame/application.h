// The application frame: the invisible application window that stands for
// the updater on the taskbar and owns every other window, the message loop,
// and the operations that handlers use to talk to the frame.
#pragma once

#include "frame/window.h"

#include <string>

// What the frame needs of the main window.
class TMainWindow {
 public:
  virtual ~TMainWindow() = default;
  virtual HWND Handle() const noexcept = 0;
  // Runs the show handler, then centres, shows and activates the window.
  virtual void Show() = 0;
};

class TApplication final : public TWindow {
 public:
  // Reads the format settings from the user's regional settings.
  TApplication();
  ~TApplication() override;

  // Creates the application window, still invisible.
  Status Create();

  void SetTitle(const std::string& title);
  const std::string& Title() const noexcept { return title_; }

  // Shows the main window and runs the message loop until the quit request.
  void Run(TMainWindow& mainWindow);

  // Handles every waiting message and returns; never waits.
  void ProcessMessages();

  // The follow-system-settings switch: while on, a change of the regional
  // settings announced by Windows reads the format settings again.
  bool UpdateFormatSettings = true;
  bool Terminated = false;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void DispatchOne(MSG& message);

  std::string title_;
  TMainWindow* mainWindow_ = nullptr;
};

// The one application object of the process; exists from the start of the
// program entry to its end.
extern TApplication* Application;

void ProcessPendingMessages();
void RequestExit();
void ShowErrorDialog(const std::string& text);
void ShowInformationDialog(const std::string& text);
