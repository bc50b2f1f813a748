// The main window's controls, each a real child window so that screen
// readers and our automation can read its text (WM_GETTEXT) and state.
#pragma once

#include "frame/window.h"

#include <functional>
#include <string>

// Grey panel with a 1-pixel raised bevel. Also paints the read-only status
// log's background white (WM_CTLCOLORSTATIC reaches the parent).
class TPanel final : public TWindow {
 public:
  Status Create(HWND parent, RECT bounds, int controlId);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The status log: a read-only, word-wrapping multi-line edit without scroll
// bars, framed by a 2-pixel soft raised edge. Append-only.
class TMemo final {
 public:
  using KeyHandler = std::function<void(WORD key)>;

  TMemo() = default;
  ~TMemo();
  TMemo(const TMemo&) = delete;
  TMemo& operator=(const TMemo&) = delete;

  // `onKeyDown` sees every key before the edit does (the window's key preview).
  Status Create(HWND parent, RECT bounds, int controlId, HFONT font, KeyHandler onKeyDown);

  HWND Handle() const noexcept { return handle_; }
  // Adds the line and a line break at the very end and shows the end.
  void AppendLine(const std::string& line);

 private:
  static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  WNDPROC editProcedure_ = nullptr;
  KeyHandler onKeyDown_;
};

// A flat button in the "modern" style: rounded outline, white-silver-white
// face, pressed look, grey caption when disabled, hand pointer when enabled.
// It never takes the focus and no key operates it; a click is a left press
// and release over it, with the mouse captured in between. When the capture
// is taken away the press is over.
class TLbSpeedButton final : public TWindow {
 public:
  Status Create(HWND parent, RECT bounds, int controlId, HFONT font, const std::string& caption);

  void SetCaption(const std::string& caption) { SetWindowTextA(Handle(), caption.c_str()); }
  void SetEnabled(bool enabled) { EnableWindow(Handle(), enabled ? TRUE : FALSE); }
  // The click handler; its error goes to the top-level error report.
  std::function<Status()> OnClick;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void SetPressed(bool pressed);
  void Paint(HDC target);

  HFONT font_ = nullptr;
  bool pressed_ = false;
  bool releasingCapture_ = false;  // our own release on a click, not a loss
};
