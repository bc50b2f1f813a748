// The floor for the time to window: a trivial Win32 program that only shows
// a message box.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr, "floor", "floor", MB_OK);
  return 0;
}
