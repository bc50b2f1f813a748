// Version values: a signed fixed-point number with exactly four decimals,
// held as a count of ten-thousandths (1.0003 is 10003).
//
// Texts are read and made with the process-wide decimal separator
// (format_settings.h), looked up each time an operation runs.
#pragma once

#include "core/error.h"
#include "core/version_text.h"

#include <cstdint>
#include <string>
#include <string_view>

struct VersionValue {
  std::int64_t tenThousandths = 0;

  friend constexpr auto operator<=>(VersionValue, VersionValue) = default;
};

// Fails with EConvertError "'<text>' is not a valid floating point value"
// when the text is not a valid version text.
Result<VersionValue> ParseVersion(std::string_view text);

// Never fails: an invalid, empty or out-of-range text gives `fallback`.
VersionValue ParseVersionOrDefault(std::string_view text, VersionValue fallback);

// The shortest exact decimal text: 10003 -> "1.0003", 20000 -> "2", 0 -> "0".
std::string VersionDisplayText(VersionValue value);

// Always four decimals, pattern "0.0000": 20000 -> "2.0000".
std::string VersionStoredText(VersionValue value);
