// The upgrade's file step (write the payload from the resource to a new file,
// flush, move it over the target) next to CopyFileA plus FlushFileBuffers of
// the same bytes into the same folder. Medians over RUNS runs after a warm-up.
// Prints "payload_bytes step_ms copy_ms".
//   payload_write_bench FOLDER RUNS     (the payload is this program's VELNA/UPGRADE)
#include "host/payload.h"
#include "host/unique_handle.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

double Milliseconds(const std::function<void()>& action) {
  LARGE_INTEGER frequency, begin, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  action();
  QueryPerformanceCounter(&end);
  return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void CopyAndFlush(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) std::abort();
  const UniqueFile copy(CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!copy || !FlushFileBuffers(copy.get())) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: payload_write_bench FOLDER RUNS\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int runs = std::atoi(argv[2]);
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string target = folder + "\\V2025.exe";
  const std::string source = folder + "\\payload-source.bin";
  const std::string copied = folder + "\\V2025-copy.exe";
  DeleteFileA(source.c_str());  // left by a run that was stopped
  if (!ExtractPayload("Velna", "UpGrade", source)) return 1;  // the same bytes, for the copy

  ResourcePayloadInstaller installer;
  std::vector<double> step, copy;
  for (int run = 0; run <= runs; ++run) {
    const double stepTime = Milliseconds([&] {
      if (installer.InstallPayload("Velna", "UpGrade", target) != PayloadInstallResult::Installed) std::abort();
    });
    const double copyTime = Milliseconds([&] { CopyAndFlush(source, copied); });
    if (run == 0) continue;  // warm-up
    step.push_back(stepTime);
    copy.push_back(copyTime);
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data);
  std::printf("%lu %.2f %.2f\n", data.nFileSizeLow, Median(step), Median(copy));
  for (const auto& file : {target, source, copied}) DeleteFileA(file.c_str());
  return 0;
}
