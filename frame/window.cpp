#include "frame/window.h"


TWindow::~TWindow() {
  if (handle_) DestroyWindow(handle_);
}

Status TWindow::RegisterWindowClass(WNDCLASSEXA windowClass) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(GetModuleHandleA(nullptr), windowClass.lpszClassName, &existing)) return {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  if (!RegisterClassExA(&windowClass)) return Error{kOSError, "Cannot register the window class"};
  return {};
}

Status TWindow::CreateHandle(DWORD exStyle, const char* className, const char* text, DWORD style, RECT bounds,
                             HWND parent, int controlId) {
  const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId));
  if (!CreateWindowExA(exStyle, className, text, style, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top, parent, menu, GetModuleHandleA(nullptr), this)) {
    return Error{kOSError, "Cannot create the window"};
  }
  return {};
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}
