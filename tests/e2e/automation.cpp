#include "tests/e2e/automation.h"

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace automation {

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

std::string WindowText(HWND window) {
  const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

RECT BoundsInParent(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  if (const HWND parent = GetParent(window); parent && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&bounds), 2);
  }
  return bounds;
}

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

namespace {

void SendMouse(POINT screen, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65536, width) + 1;
  input.mi.dy = MulDiv(screen.y, 65536, height) + 1;
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
  std::this_thread::sleep_for(30ms);
}

POINT ToScreen(HWND window, POINT client) {
  ClientToScreen(window, &client);
  return client;
}

struct FoundWindows {
  DWORD processId;
  const char* className;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevelWindow(HWND window, LPARAM data) {
  auto& found = *reinterpret_cast<FoundWindows*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == found.processId && IsWindowVisible(window) && ClassName(window) == found.className) {
    found.windows.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId, const char* className) {
  FoundWindows found{processId, className, {}};
  EnumWindows(&CollectTopLevelWindow, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControlId(HWND child, LPARAM data) {
  auto& search = *reinterpret_cast<ControlSearch*>(data);
  if (GetDlgCtrlID(child) != search.id) return TRUE;
  search.found = child;
  return FALSE;
}

// Stop icons are red, information icons blue: read off the screen, since an
// icon handle of another process cannot be drawn here.
IconKind ReadIconKind(HWND iconControl) {
  RECT area;
  GetWindowRect(iconControl, &area);
  ScopedWindowDc screen(nullptr);
  int red = 0;
  int blue = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF pixel = GetPixel(screen.get(), x, y);
      const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
      if (r > 150 && g < 100 && b < 100) ++red;
      if (b > 150 && r < 120) ++blue;
    }
  }
  if (red > 100 && red > blue) return IconKind::Stop;
  if (blue > 100) return IconKind::Information;
  return IconKind::None;
}

}  // namespace

void MouseDown(HWND window, POINT client, DWORD downFlag) { SendMouse(ToScreen(window, client), downFlag); }
void MouseUp(HWND window, POINT client, DWORD upFlag) { SendMouse(ToScreen(window, client), upFlag); }

void Click(HWND window, POINT client) {
  MouseDown(window, client);
  MouseUp(window, client);
}

void ClickCentre(HWND window) {
  const SIZE size = ClientSize(window);
  Click(window, POINT{size.cx / 2, size.cy / 2});
}

void PressKey(WORD key, const std::vector<WORD>& modifiers) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD k, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = k;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  for (WORD m : modifiers) add(m, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) add(*m, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  std::this_thread::sleep_for(50ms);
}

UpdaterProcess::UpdaterProcess(const std::string& program, const std::vector<std::string>& environment) {
  // The current environment with the extra entries, as a double-NUL block.
  std::string block;
  if (char* current = GetEnvironmentStringsA()) {
    for (const char* entry = current; *entry; entry += std::strlen(entry) + 1) block.append(entry).push_back('\0');
    FreeEnvironmentStringsA(current);
  }
  for (const auto& entry : environment) block.append(entry).push_back('\0');
  block.push_back('\0');

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  std::string commandLine = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, block.data(), nullptr, &startup,
                      &started)) {
    throw std::runtime_error("cannot start " + program);
  }
  CloseHandle(started.hThread);
  process_.reset(started.hProcess);
  id_ = started.dwProcessId;
}

UpdaterProcess::~UpdaterProcess() {
  if (Running()) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

bool UpdaterProcess::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

DWORD UpdaterProcess::WaitForExit(std::chrono::milliseconds timeout) const {
  if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

HWND UpdaterProcess::MainWindow(std::chrono::milliseconds timeout) const {
  HWND main = nullptr;
  WaitFor(
      [&] {
        const auto windows = VisibleTopLevelWindows(id_, "TForm1");
        main = windows.empty() ? nullptr : windows.front();
        return main != nullptr;
      },
      timeout);
  if (!main) throw std::runtime_error("the main window did not appear");
  // Keys go to the foreground window: wait until it is this one (unless a
  // modal box holds the foreground).
  WaitFor([&] { return GetForegroundWindow() == main || !IsWindowEnabled(main); }, 2000ms);
  return main;
}

HWND UpdaterProcess::Control(int id) const {
  const HWND main = MainWindow();
  ControlSearch search{id, nullptr};
  EnumChildWindows(main, &MatchControlId, reinterpret_cast<LPARAM>(&search));
  const HWND found = search.found;
  if (!found) throw std::runtime_error("no control with id " + std::to_string(id));
  return found;
}

void UpdaterProcess::WaitForInstallationCheck() const {
  constexpr int kMemo1Id = 101;
  constexpr int kButton2Id = 102;
  const HWND log = Control(kMemo1Id);
  const HWND upgrade = Control(kButton2Id);
  Dialog box;
  if (!WaitFor([&] { return !WindowText(log).empty() || WindowText(upgrade) != "Cautare..." || FindDialog(box, 0ms); },
               6000ms)) {
    throw std::runtime_error("the installation check did not run");
  }
}

std::vector<std::string> UpdaterProcess::LogLines() const {
  constexpr int kMemo1Id = 101;
  const std::string text = WindowText(Control(kMemo1Id));
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool UpdaterProcess::FindDialog(Dialog& dialog, std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  WaitFor(
      [&] {
        const auto windows = VisibleTopLevelWindows(id_, "#32770");
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeout);
  if (!found) return false;
  std::this_thread::sleep_for(150ms);  // let it paint before its icon is read
  dialog = Dialog{};
  dialog.window = found;
  dialog.caption = WindowText(found);
  for (HWND child = GetWindow(found, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string cls = ClassName(child);
    if (cls == "Button") {
      dialog.buttons.push_back(WindowText(child));
    } else if (cls == "Static" && SendMessageA(child, STM_GETICON, 0, 0)) {
      dialog.icon = ReadIconKind(child);
    } else if (cls == "Static") {
      dialog.text = WindowText(child);
    }
  }
  return true;
}

void UpdaterProcess::CloseDialog(const Dialog& dialog) const {
  if (const HWND ok = FindWindowExA(dialog.window, nullptr, "Button", nullptr)) ClickCentre(ok);
  if (!WaitFor([&] { return !IsWindow(dialog.window) || !IsWindowVisible(dialog.window); })) {
    throw std::runtime_error("the dialog did not close");
  }
}

ScreenPixels CaptureScreen(const RECT& area) {
  ScreenPixels pixels;
  pixels.width = area.right - area.left;
  pixels.height = area.bottom - area.top;
  ScopedWindowDc screen(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueGdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    ScopedSelectObject select(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, pixels.width, pixels.height, screen.get(), area.left, area.top, SRCCOPY);
  }
  GdiFlush();
  const auto* quads = static_cast<const RGBQUAD*>(bits);
  pixels.colours.reserve(static_cast<std::size_t>(pixels.width) * pixels.height);
  for (int i = 0; i < pixels.width * pixels.height; ++i) {
    pixels.colours.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
  }
  return pixels;
}

void SaveScreenshot(const RECT& area, const std::string& path) {
  const ScreenPixels pixels = CaptureScreen(area);
  const DWORD stride = ((static_cast<DWORD>(pixels.width) * 3 + 3) / 4) * 4;
  std::string image(stride * static_cast<DWORD>(pixels.height), '\0');
  for (int y = 0; y < pixels.height; ++y) {
    char* row = image.data() + static_cast<std::size_t>(pixels.height - 1 - y) * stride;  // BMP rows: bottom-up
    for (int x = 0; x < pixels.width; ++x) {
      const COLORREF colour = pixels.At(x, y);
      row[3 * x] = static_cast<char>(GetBValue(colour));
      row[3 * x + 1] = static_cast<char>(GetGValue(colour));
      row[3 * x + 2] = static_cast<char>(GetRValue(colour));
    }
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = pixels.width;
  header.biHeight = pixels.height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(image.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(image.data(), static_cast<std::streamsize>(image.size()));
}

}  // namespace automation
