// GoogleTest's hook for platform adjustments, found ahead of its own empty
// one. The Windows test programs use MinGW's win32 thread model, like the
// updater they test, and that model has no std::mutex, which GoogleTest's
// Notification (used only by its thread helpers) is written with. This one
// waits on a Win32 event instead.
#ifndef VELNA_TESTS_GTEST_PORT_H
#define VELNA_TESTS_GTEST_PORT_H

#ifdef _WIN32
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
#endif

#endif
