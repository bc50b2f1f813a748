#include "frame/application.h"

#include "core/format_settings.h"
#include "frame/error_report.h"

#include <string_view>
#include <vector>

TApplication* Application = nullptr;

namespace {

constexpr char kApplicationWindowClass[] = "TApplication";

std::string LocaleText(LCTYPE item) {
  char buffer[100] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
  return buffer;
}

// The format settings as the user's regional settings give them.
void ReadFormatSettingsFromSystem() {
  const auto firstCharacter = [](const std::string& text, char fallback) { return text.empty() ? fallback : text[0]; };
  FormatSettings.DecimalSeparator = firstCharacter(LocaleText(LOCALE_SDECIMAL), '.');
  FormatSettings.ThousandSeparator = firstCharacter(LocaleText(LOCALE_STHOUSAND), ',');
  FormatSettings.DateSeparator = firstCharacter(LocaleText(LOCALE_SDATE), '/');
  FormatSettings.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE);
}

// While alive, every enabled window of the updater is disabled, so that a
// modal box is the only thing that takes input; afterwards the windows are
// enabled again and the active window and focus are restored.
class TaskWindowsDisabled {
 public:
  TaskWindowsDisabled() : active_(GetActiveWindow()), focus_(GetFocus()) {
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&disabled_));
  }
  ~TaskWindowsDisabled() {
    for (HWND window : disabled_) EnableWindow(window, TRUE);
    if (active_ && IsWindow(active_)) SetActiveWindow(active_);
    if (focus_ && IsWindow(focus_)) SetFocus(focus_);
  }
  TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
  TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK DisableOne(HWND window, LPARAM list) noexcept {
    if (IsWindowEnabled(window)) {
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
      EnableWindow(window, FALSE);
    }
    return TRUE;
  }
  HWND active_;
  HWND focus_;
  std::vector<HWND> disabled_;
};

void ShowModalBox(const std::string& text, const char* caption, UINT flags) {
  const HWND owner = Application ? Application->Handle() : nullptr;
  TaskWindowsDisabled modal;
  MessageBoxA(owner, text.c_str(), caption, flags | MB_OK);
}

}  // namespace

TApplication::TApplication() {
  Application = this;
  ReadFormatSettingsFromSystem();
}

Status TApplication::Create() {
  WNDCLASSEXA windowClass{};
  windowClass.lpszClassName = kApplicationWindowClass;
  windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  if (Status registered = RegisterWindowClass(windowClass); !registered.ok()) return registered;
  // A popup of no size in the middle of the screen: it is the taskbar button
  // (it has no owner) and the owner of every other window of the updater.
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  return CreateHandle(0, kApplicationWindowClass, "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU,
                      RECT{x, y, x, y}, nullptr);
}

TApplication::~TApplication() { Application = nullptr; }

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  SetWindowTextA(Handle(), title.c_str());
}

void TApplication::Run(TMainWindow& mainWindow) {
  mainWindow_ = &mainWindow;
  mainWindow.Show();
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);  // the taskbar button appears with the main window
  MSG message;
  while (!Terminated) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
      Terminated = true;
      break;
    }
    DispatchOne(message);
  }
  mainWindow_ = nullptr;
}

void TApplication::ProcessMessages() {
  MSG message;
  while (!Terminated && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      Terminated = true;
      break;
    }
    DispatchOne(message);
  }
}

void TApplication::DispatchOne(MSG& message) {
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

LRESULT TApplication::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTINGCHANGE:
      if (UpdateFormatSettings) ReadFormatSettingsFromSystem();
      break;
    case WM_SYSCOMMAND:
      // The taskbar button's Close closes the main window like its close box.
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        if (mainWindow_) PostMessageA(mainWindow_->Handle(), WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // Activating the taskbar button brings the main window forward.
      if (LOWORD(wParam) != WA_INACTIVE && mainWindow_ && IsWindowEnabled(mainWindow_->Handle())) {
        SetActiveWindow(mainWindow_->Handle());
        return 0;
      }
      break;
    case WM_CLOSE:
      RequestExit();
      return 0;
    default:
      break;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

void ProcessPendingMessages() {
  if (Application) Application->ProcessMessages();
}

void RequestExit() { PostQuitMessage(0); }

void ShowErrorDialog(const std::string& text) { ShowModalBox(text, "Error", MB_ICONHAND); }

void ShowInformationDialog(const std::string& text) { ShowModalBox(text, "Information", MB_ICONASTERISK); }

std::string ErrorReportText(const std::string& message) {
  std::string text = message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
  return text;
}

void ReportUnhandledError(const Error& error) {
  if (std::string_view(error.kind) == kAbort) return;
  const std::string caption = Application ? Application->Title() : std::string();
  ShowModalBox(ErrorReportText(error.message), caption.c_str(), MB_ICONSTOP);
}
