// One move-only owner for every kind of Win32 handle. The traits say which
// value means "none" and how the handle is released. Stock and system objects
// (GetStockObject, LoadIcon(nullptr, ...)) are never wrapped.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::None(); }

  Handle release() noexcept { return std::exchange(handle_, Traits::None()); }
  void reset(Handle handle = Traits::None()) noexcept {
    if (handle_ != Traits::None()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::None();
};

struct FileHandleTraits {  // CreateFile: failure is INVALID_HANDLE_VALUE
  using Handle = HANDLE;
  static Handle None() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { CloseHandle(h); }
};
struct KernelHandleTraits {  // processes, threads, events: failure is null
  using Handle = HANDLE;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle None() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { FindClose(h); }
};
struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { RegCloseKey(h); }
};
struct ResourceTraits {  // FreeResource is a no-op on Win32, kept for symmetry with LoadResource
  using Handle = HGLOBAL;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { FreeResource(h); }
};
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { DeleteObject(h); }
};
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { DeleteDC(h); }
};
struct WindowTraits {
  using Handle = HWND;
  static Handle None() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { DestroyWindow(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;
using UniqueResource = UniqueHandle<ResourceTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;

// Selects an object into a DC for one scope and puts the old one back.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelectObject() { SelectObject(dc_, previous_); }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~ScopedPaint() { EndPaint(window_, &paint_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC dc() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// GetDC/ReleaseDC for one scope.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDc() { ReleaseDC(window_, dc_); }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};
