// Time from process start to a visible top-level window of the given class,
// and the process's peak working set then. Runs the program RUNS times after
// one warm-up run; prints "median_ms peak_working_set_bytes".
//   window_timer PROGRAM WINDOW_CLASS RUNS
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD processId;
  const char* className;
  bool found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner == search.processId && IsWindowVisible(window) && std::strcmp(name, search.className) == 0) {
    search.found = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: window_timer PROGRAM WINDOW_CLASS RUNS\n");
    return 2;
  }
  const int runs = std::atoi(argv[3]);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  SIZE_T peak = 0;
  for (int run = 0; run <= runs; ++run) {  // run 0 warms up
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
      std::fprintf(stderr, "cannot start %s\n", argv[1]);
      return 1;
    }
    Search search{started.dwProcessId, argv[2], false};
    for (int polls = 0; !search.found && polls < 200000; ++polls) {
      EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
      if (!search.found) Sleep(0);
    }
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(started.hProcess, &memory, sizeof memory);
    TerminateProcess(started.hProcess, 0);
    WaitForSingleObject(started.hProcess, 10000);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    if (run == 0) continue;
    times.push_back(1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart));
    peak = std::max(peak, memory.PeakWorkingSetSize);
  }
  std::sort(times.begin(), times.end());
  std::printf("%.1f %zu\n", times[times.size() / 2], static_cast<size_t>(peak));
  return 0;
}
