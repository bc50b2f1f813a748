// The control for the DLL-planting test: a program without the updater's
// safe search order, which loads dwmapi.dll the ordinary way and so picks up
// the copy planted beside it.
#include <windows.h>

int main() { return LoadLibraryA("dwmapi.dll") ? 0 : 1; }
