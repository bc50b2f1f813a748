// A small base for our windows: the object is found from the HWND (stored at
// WM_NCCREATE, cleared at WM_NCDESTROY) and the window procedure is a thin
// noexcept shell that calls the virtual HandleMessage. Nothing thrown inside
// ever unwinds into the system: it goes to the top-level error report.
#pragma once

#include <windows.h>

class TWindow {
 public:
  TWindow() = default;
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Handle() const noexcept { return handle_; }

 protected:
  // Registers the class on first use; `className` names it, the rest is
  // filled in by the caller (style, cursor, brush, icon).
  static void RegisterWindowClass(WNDCLASSEXA windowClass);
  void CreateHandle(DWORD exStyle, const char* className, const char* text, DWORD style, RECT bounds, HWND parent,
                    int controlId = 0);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND handle_ = nullptr;
};

