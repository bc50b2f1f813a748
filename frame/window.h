// A small base for our windows: the object is found from the HWND (stored at
// WM_NCCREATE, cleared at WM_NCDESTROY) and the window procedure is a thin
// shell that calls the virtual HandleMessage. A handler that fails hands its
// error to the top-level error report where it is called.
#pragma once

#include "core/error.h"

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
  static Status RegisterWindowClass(WNDCLASSEXA windowClass);
  Status CreateHandle(DWORD exStyle, const char* className, const char* text, DWORD style, RECT bounds, HWND parent,
                      int controlId = 0);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND handle_ = nullptr;
};

