// libFuzzer target for the version parse: any input is safe (the sanitizers
// watch), the two parses agree, and every valid value's display and stored
// forms read back to it. Long runs: see the README.
#include "core/version.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const VersionValue first = ParseVersionOrDefault(text, VersionValue{-1});
  const VersionValue second = ParseVersionOrDefault(text, VersionValue{-2});
  const bool valid = first == second;

  const Result<VersionValue> strict = ParseVersion(text);
  if (strict.ok() != valid || (valid && strict.value() != first)) std::abort();
  if (valid && (ParseVersion(VersionDisplayText(first)).value() != first ||
                ParseVersion(VersionStoredText(first)).value() != first)) {
    std::abort();
  }
  return 0;
}
