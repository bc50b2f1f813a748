// Stand-in for the main program, carried when the vendor names no payload:
// it shows its product name and version, so that a demo installation can be
// upgraded for real and the result started.
#include <windows.h>

#ifndef STANDIN_PRODUCT
#error "STANDIN_PRODUCT must name the product"
#endif
#ifndef STANDIN_VERSION
#error "STANDIN_VERSION must give the version"
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr, STANDIN_PRODUCT "\nversiunea " STANDIN_VERSION, STANDIN_PRODUCT, MB_OK | MB_ICONINFORMATION);
  return 0;
}
