#include "ui/controls.h"

#include "frame/error_report.h"
#include "host/unique_handle.h"

#include <algorithm>
#include <utility>

namespace {

constexpr COLORREF kPanelColour = RGB(128, 128, 128);
constexpr COLORREF kLogColour = RGB(255, 255, 255);
constexpr COLORREF kButtonFace = RGB(192, 192, 192);
constexpr COLORREF kButtonLight = RGB(255, 255, 255);
constexpr COLORREF kButtonShadow = RGB(128, 128, 128);
constexpr COLORREF kButtonText = RGB(0, 0, 0);
constexpr COLORREF kDisabledText = RGB(128, 128, 128);
constexpr int kLogEdge = 2;  // the soft raised edge: outer and inner bevel, 1 pixel each

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps) {
  const auto mix = [&](int a, int b) { return a + (b - a) * step / std::max(steps, 1); };
  return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
             mix(GetBValue(from), GetBValue(to)));
}

}  // namespace

// --- TPanel -----------------------------------------------------------------

Status TPanel::Create(HWND parent, RECT bounds, int controlId) {
  WNDCLASSEXA windowClass{};
  windowClass.lpszClassName = "TPanel";
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  if (Status registered = RegisterWindowClass(windowClass); !registered.ok()) return registered;
  return CreateHandle(0, "TPanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, bounds, parent, controlId);
}

LRESULT TPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers everything
    case WM_PAINT: {
      ScopedPaint paint(Handle());
      RECT area;
      GetClientRect(Handle(), &area);
      FillSolid(paint.dc(), area, kPanelColour);
      const RECT top{area.left, area.top, area.right, area.top + 1};
      const RECT left{area.left, area.top, area.left + 1, area.bottom};
      const RECT bottom{area.left, area.bottom - 1, area.right, area.bottom};
      const RECT right{area.right - 1, area.top, area.right, area.bottom};
      FillSolid(paint.dc(), top, GetSysColor(COLOR_BTNHIGHLIGHT));
      FillSolid(paint.dc(), left, GetSysColor(COLOR_BTNHIGHLIGHT));
      FillSolid(paint.dc(), bottom, GetSysColor(COLOR_BTNSHADOW));
      FillSolid(paint.dc(), right, GetSysColor(COLOR_BTNSHADOW));
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, kLogColour);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

// --- TMemo ------------------------------------------------------------------

Status TMemo::Create(HWND parent, RECT bounds, int controlId, HFONT font, KeyHandler onKeyDown) {
  onKeyDown_ = std::move(onKeyDown);
  // No ES_AUTOHSCROLL: long lines wrap at the text area's width.
  handle_ = CreateWindowExA(0, "EDIT", "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                            bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleA(nullptr), nullptr);
  if (!handle_) return Error{kOSError, "Cannot create the status log"};
  SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProcedure)));
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageA(handle_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  // Let the edge take its place in the non-client area.
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  return {};
}

TMemo::~TMemo() {
  if (handle_) {
    SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedure_));
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

void TMemo::AppendLine(const std::string& line) {
  const auto end = static_cast<WPARAM>(GetWindowTextLengthA(handle_));
  SendMessageA(handle_, EM_SETSEL, end, static_cast<LPARAM>(end));
  const std::string text = line + "\r\n";
  SendMessageA(handle_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(handle_, EM_SCROLLCARET, 0, 0);
}

LRESULT CALLBACK TMemo::SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<TMemo*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT TMemo::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (onKeyDown_) onKeyDown_(static_cast<WORD>(wParam));
      break;  // the key then goes on to the edit as usual
    case WM_NCCALCSIZE: {
      auto* rect = reinterpret_cast<RECT*>(lParam);  // the first rectangle in both forms
      InflateRect(rect, -kLogEdge, -kLogEdge);
      return 0;
    }
    case WM_NCDESTROY: {
      // Destroyed with its parent: unhook, so that the destructor finds no window.
      const HWND window = std::exchange(handle_, nullptr);
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProcedure_));
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      return CallWindowProcA(editProcedure_, window, message, wParam, lParam);
    }
    case WM_NCPAINT: {
      const HDC dc = GetWindowDC(handle_);
      RECT frame;
      GetWindowRect(handle_, &frame);
      OffsetRect(&frame, -frame.left, -frame.top);
      DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT | BF_SOFT);
      ReleaseDC(handle_, dc);
      return 0;
    }
    default:
      break;
  }
  return CallWindowProcA(editProcedure_, handle_, message, wParam, lParam);
}

// --- TLbSpeedButton -----------------------------------------------------------

Status TLbSpeedButton::Create(HWND parent, RECT bounds, int controlId, HFONT font, const std::string& caption) {
  font_ = font;
  WNDCLASSEXA windowClass{};
  windowClass.lpszClassName = "TLbSpeedButton";
  windowClass.hCursor = nullptr;  // chosen in WM_SETCURSOR
  // No CS_DBLCLKS: a double click arrives as a second press and clicks twice.
  if (Status registered = RegisterWindowClass(windowClass); !registered.ok()) return registered;
  return CreateHandle(0, "TLbSpeedButton", caption.c_str(), WS_CHILD | WS_VISIBLE, bounds, parent, controlId);
}

void TLbSpeedButton::SetPressed(bool pressed) {
  if (pressed_ == pressed) return;
  pressed_ = pressed;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

LRESULT TLbSpeedButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, IsWindowEnabled(Handle()) ? IDC_HAND : IDC_ARROW));
      return TRUE;
    case WM_LBUTTONDOWN:
      SetCapture(Handle());
      SetPressed(true);
      return 0;
    case WM_CAPTURECHANGED:
      // Taken away (a box opened, another program came forward): the press is
      // over, and no release can click any more.
      if (!releasingCapture_) SetPressed(false);
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == Handle()) ReleaseCapture();
      SetPressed(false);
      return 0;
    case WM_LBUTTONUP: {
      // Only the release of a press on this button, while it still holds the capture.
      if (!pressed_ || GetCapture() != Handle()) return 0;
      RECT area;
      GetClientRect(Handle(), &area);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      releasingCapture_ = true;
      ReleaseCapture();
      releasingCapture_ = false;
      // The click runs while the button still looks pressed; a failed click
      // is reported once the button looks as before.
      const Status clicked = PtInRect(&area, at) && OnClick ? OnClick() : Status();
      SetPressed(false);
      ReportIfFailed(clicked);
      return 0;
    }
    case WM_ENABLE:
      if (!wParam) SetPressed(false);
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = TWindow::HandleMessage(message, wParam, lParam);
      InvalidateRect(Handle(), nullptr, FALSE);
      return result;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      ScopedPaint paint(Handle());
      Paint(paint.dc());
      return 0;
    }
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

void TLbSpeedButton::Paint(HDC target) {
  RECT area;
  GetClientRect(Handle(), &area);
  const int width = area.right;
  const int height = area.bottom;

  // Drawn off screen and copied in one go, so nothing flickers.
  UniqueMemoryDc dc(CreateCompatibleDC(target));
  UniqueGdiObject bitmap(CreateCompatibleBitmap(target, width, height));
  ScopedSelectObject selectBitmap(dc.get(), bitmap.get());

  FillSolid(dc.get(), area, kPanelColour);  // shows outside the rounded corners

  {
    UniqueGdiObject rounded(CreateRoundRectRgn(0, 0, width + 1, height + 1, 6, 6));
    SelectClipRgn(dc.get(), static_cast<HRGN>(rounded.get()));
    // Face: light at the top, the face colour a quarter down, light at the bottom.
    const int shift = pressed_ ? 1 : 0;
    const int band = std::max(1, (height - 4) / 4) + shift;
    for (int y = 2; y < height - 2; ++y) {
      const int row = y - 2;
      const COLORREF colour = row <= band ? Blend(kButtonLight, kButtonFace, row, band)
                                          : Blend(kButtonFace, kButtonLight, row - band, height - 5 - band);
      const RECT line{2, y, width - 2, y + 1};
      FillSolid(dc.get(), line, colour);
    }
    UniqueGdiObject edgeBrush(CreateSolidBrush(pressed_ ? kButtonShadow : kButtonFace));
    RECT edge{1, 1, width - 1, height - 1};
    FrameRect(dc.get(), &edge, static_cast<HBRUSH>(edgeBrush.get()));
    SelectClipRgn(dc.get(), nullptr);
  }
  {
    UniqueGdiObject pen(CreatePen(PS_SOLID, 1, kButtonShadow));
    ScopedSelectObject selectPen(dc.get(), pen.get());
    ScopedSelectObject selectBrush(dc.get(), GetStockObject(NULL_BRUSH));
    RoundRect(dc.get(), 0, 0, width, height, 6, 6);
  }

  // Caption: one line, centred within 4-pixel margins; a caption too wide
  // loses characters at its end, without an ellipsis.
  char buffer[256] = {};
  GetWindowTextA(Handle(), buffer, sizeof buffer);
  std::string caption = buffer;
  ScopedSelectObject selectFont(dc.get(), font_);
  RECT textArea{4, 0, width - 4, height};
  const auto textWidth = [&](const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  };
  while (!caption.empty() && textWidth(caption) > textArea.right - textArea.left) caption.pop_back();
  if (pressed_) OffsetRect(&textArea, 1, 1);
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), IsWindowEnabled(Handle()) ? kButtonText : kDisabledText);
  DrawTextA(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &textArea,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

  BitBlt(target, 0, 0, width, height, dc.get(), 0, 0, SRCCOPY);
}
