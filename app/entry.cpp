// The process entry. The C runtime's own start-up code is not linked
// (-nostartfiles): it brings command-line parsing, TLS callbacks, pseudo
// relocations and floating-point set-up that the updater has no use for,
// and with their sections they cost more than a quarter of its size. Here is
// what the updater needs of it: the static constructors, WinMain, and an
// exit with WinMain's code that runs the static destructors.
#include <windows.h>

#include <cstdlib>

extern "C" void __main();  // runs the static constructors and registers their destructors

// The start-up code also brings atexit, with which the static constructors
// register their destructors; the runtime DLL's _onexit does the same, and
// exit() runs them.
extern "C" int atexit(void (*function)()) { return _onexit(reinterpret_cast<_onexit_t>(function)) ? 0 : -1; }

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

// Windows enters with the stack aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
  __main();
  std::exit(WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWDEFAULT));
}
