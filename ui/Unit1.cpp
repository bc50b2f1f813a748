#include "ui/Unit1.h"

#include "core/format_settings.h"
#include "core/release_profile.h"
#include "core/update_job.h"
#include "core/version.h"
#include "frame/error_report.h"
#include "frame/test_faults.h"

#include <algorithm>

namespace {

constexpr char kFormClass[] = "TForm1";
constexpr UINT_PTR kTimer1Id = 1;
constexpr UINT kTimer1Interval = 1000;  // milliseconds

// Layout at 96 dots per inch.
constexpr int kClientWidth = 441;
constexpr int kClientHeight = 179;
constexpr RECT kPanel1Bounds{8, 8, 8 + 425, 8 + 161};
constexpr RECT kMemo1Bounds{16, 16, 16 + 393, 16 + 97};
constexpr RECT kButton2Bounds{16, 120, 16 + 201, 120 + 31};
constexpr RECT kLbSpeedButton1Bounds{300, 120, 300 + 108, 120 + 31};
constexpr int kFontPoints = 8;        // -11 pixels high at 96 dpi
constexpr int kLayoutTextHeight = 13;  // the window font's text height at 96 dpi

int ScreenDpi() {
  ScopedWindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int TextHeight(HFONT font) {
  ScopedWindowDc screen(nullptr);
  ScopedSelectObject selectFont(screen.get(), font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.get(), &metrics);
  return metrics.tmHeight;
}

// The layout is made at 96 dpi. Elsewhere the font grows with the resolution,
// and everything else with the font: by its text height over 13.
class Scaler {
 public:
  explicit Scaler(int textHeight) : textHeight_(textHeight) {}
  int operator()(int value) const { return MulDiv(value, textHeight_, kLayoutTextHeight); }
  // Position and size are scaled each on its own, so that equal sizes stay equal.
  RECT operator()(RECT r) const {
    const int left = (*this)(r.left), top = (*this)(r.top);
    return RECT{left, top, left + (*this)(r.right - r.left), top + (*this)(r.bottom - r.top)};
  }

 private:
  int textHeight_;
};

HFONT CreateWindowFont(int height, int weight) {
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
}

}  // namespace

TForm1::TForm1(IInstallationRecord& record, IPayloadInstaller& payload) : record_(record), payload_(payload) {}

Status TForm1::Create() {
  const int dpi = ScreenDpi();
  const int fontHeight = -MulDiv(kFontPoints, dpi, 72);
  font_.reset(CreateWindowFont(fontHeight, FW_NORMAL));
  buttonFont_.reset(CreateWindowFont(fontHeight, FW_BOLD));
  const Scaler scale(dpi == 96 ? kLayoutTextHeight : TextHeight(static_cast<HFONT>(font_.get())));

  WNDCLASSEXA windowClass{};
  windowClass.lpszClassName = kFormClass;
  windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (Status registered = RegisterWindowClass(windowClass); !registered.ok()) return registered;

  // A single fixed border with the system menu and the close box only.
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT frame{0, 0, scale(kClientWidth), scale(kClientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  OffsetRect(&frame, -frame.left, -frame.top);
  const HWND owner = Application ? Application->Handle() : nullptr;
  const auto font = static_cast<HFONT>(font_.get());
  const auto buttonFont = static_cast<HFONT>(buttonFont_.get());
  // Each step only when the one before it succeeded.
  Status created = CreateHandle(0, kFormClass, "", kStyle, frame, owner);
  if (created.ok()) created = Panel1.Create(Handle(), scale(kPanel1Bounds), kPanel1Id);
  if (created.ok()) {
    created = Memo1.Create(Panel1.Handle(), scale(kMemo1Bounds), kMemo1Id, font, [this](WORD key) { FormKeyDown(key); });
  }
  if (created.ok()) {
    created = Button2.Create(Panel1.Handle(), scale(kButton2Bounds), kButton2Id, buttonFont, "Cautare...");
  }
  if (created.ok()) {
    created = LbSpeedButton1.Create(Panel1.Handle(), scale(kLbSpeedButton1Bounds), kLbSpeedButton1Id, buttonFont,
                                    "Inchide");
  }
  if (!created.ok()) return created;
  Button2.SetEnabled(false);
  Button2.OnClick = [this] { return Button2Click(); };
  LbSpeedButton1.OnClick = [this] { return Button1Click(); };

  ReportIfFailed(FormCreate());
  return {};
}

TForm1::~TForm1() {
  // Children first, while their objects still exist.
  if (Handle()) DestroyWindow(Handle());
}

Status TForm1::FormCreate() {
  if (Application) Application->UpdateFormatSettings = false;
  FormatSettings.DecimalSeparator = '.';
  FormatSettings.ThousandSeparator = ',';
  FormatSettings.DateSeparator = '.';
  FormatSettings.ShortDateFormat = "dd.MM.yyyy";
  if (Status fault = TestFault("FormCreate"); !fault.ok()) return fault;
  ProcessPendingMessages();
  return {};
}

void TForm1::Show() {
  ReportIfFailed(FormShow());  // the window is shown all the same
  RECT frame;
  GetWindowRect(Handle(), &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(Handle());
  SetFocus(Memo1.Handle());
}

Status TForm1::FormShow() {
  ProcessPendingMessages();
  const std::string caption =
      std::string(ProductDisplayName) + CaptionVersionPrefix + VersionDisplayText(ReleaseVersion);
  SetWindowTextA(Handle(), caption.c_str());
  return ArmTimer1();
}

Status TForm1::ArmTimer1() {
  if (TestFaultSet("NoTimers") || !SetTimer(Handle(), kTimer1Id, kTimer1Interval, nullptr)) {
    return Error{kOutOfResources, "Not enough timers available"};
  }
  timer1Armed_ = true;
  return {};
}

Status TForm1::Timer1Timer() { return RunInstallationCheck(record_, *this); }

Status TForm1::Button1Click() {
  RequestExit();
  return {};
}

Status TForm1::Button2Click() {
  if (Status fault = TestFault("Button2Click"); !fault.ok()) return fault;
  return RunUpgradeAction(record_, payload_, *this);
}

void TForm1::FormKeyDown(WORD key) {
  if (key == VK_ESCAPE) RequestExit();  // whatever modifier keys are held
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimer1Id && timer1Armed_) {
        ReportIfFailed(Timer1Timer());
        return 0;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      FormKeyDown(static_cast<WORD>(wParam));
      break;
    case WM_CLOSE:
      RequestExit();  // no close query: closing always ends the updater
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && Memo1.Handle()) SetFocus(Memo1.Handle());
      return 0;
    case WM_SETFOCUS:
      if (Memo1.Handle()) SetFocus(Memo1.Handle());
      return 0;
    default:
      break;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

void TForm1::DisarmStartupTimer() {
  KillTimer(Handle(), kTimer1Id);
  timer1Armed_ = false;
}

void TForm1::AppendLogLine(const std::string& line) { Memo1.AppendLine(line); }

void TForm1::SetUpgradeButtonCaption(const std::string& caption) { Button2.SetCaption(caption); }

void TForm1::SetUpgradeButtonEnabled(bool enabled) { Button2.SetEnabled(enabled); }

void TForm1::ShowErrorDialog(const std::string& text) { ::ShowErrorDialog(text); }

void TForm1::ShowInformationDialog(const std::string& text) { ::ShowInformationDialog(text); }
