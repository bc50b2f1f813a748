// The exact reading of a version text, independent of any process state, so
// that the build can check the release version at compile time as well.
//
// Grammar: blanks* [+|-] digits* [sep digits*] [(e|E) [+|-] digits*] blanks*
// where a blank is the space only and the mantissa holds at least one digit
// or is the separator alone. A NUL ends the text. The number is rounded to
// ten-thousandths, an exact half to even, straight from its decimal digits:
// no binary floating point takes part, whatever the number of digits.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace version_text {

// The text's value in ten-thousandths, or nothing when the text is not a
// valid version text or its value lies outside the signed 64-bit range.
constexpr std::optional<std::int64_t> ParseTenThousandths(std::string_view text, char decimalSeparator) {
  constexpr std::uint64_t kMaxPositive = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  constexpr std::uint64_t kMaxNegative = kMaxPositive + 1;
  // Exponents beyond this cap decide nothing more: the value is then either
  // out of range or rounds to zero for any text that fits in memory.
  constexpr std::int64_t kExponentCap = 100'000'000'000'000'000;  // 1e17

  if (const auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  const std::size_t length = text.size();
  const auto isDigit = [&](std::size_t i) { return i < length && text[i] >= '0' && text[i] <= '9'; };

  std::size_t i = 0;
  while (i < length && text[i] == ' ') ++i;

  bool negative = false;
  if (i < length && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  const std::size_t integerBegin = i;
  while (isDigit(i)) ++i;
  const std::size_t integerEnd = i;
  std::size_t fractionBegin = i;
  std::size_t fractionEnd = i;
  bool hasSeparator = false;
  if (i < length && text[i] == decimalSeparator) {
    hasSeparator = true;
    fractionBegin = ++i;
    while (isDigit(i)) ++i;
    fractionEnd = i;
  }
  if (!hasSeparator && integerBegin == integerEnd) return std::nullopt;

  std::int64_t exponent = 0;
  if (i < length && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool exponentNegative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
      exponentNegative = text[i] == '-';
      ++i;
    }
    for (; isDigit(i); ++i) {
      if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - '0');
    }
    if (exponentNegative) exponent = -exponent;
  }

  while (i < length && text[i] == ' ') ++i;
  if (i != length) return std::nullopt;

  // The mantissa's digits as one sequence, the separator left out.
  const std::size_t integerDigits = integerEnd - integerBegin;
  const std::size_t fractionDigits = fractionEnd - fractionBegin;
  const std::size_t allDigits = integerDigits + fractionDigits;
  const auto digit = [&](std::size_t k) -> unsigned {
    const char c = k < integerDigits ? text[integerBegin + k] : text[fractionBegin + (k - integerDigits)];
    return static_cast<unsigned>(c - '0');
  };

  std::size_t first = 0;  // first significant digit
  while (first < allDigits && digit(first) == 0) ++first;
  if (first == allDigits) return 0;  // zero in any form, also "-0" and "0e999"

  // value * 10000 = significant digits * 10^scale; `whole` of those digits
  // (or more, with zeros appended) lie before the point.
  const auto significant = static_cast<std::int64_t>(allDigits - first);
  const std::int64_t scale = exponent - static_cast<std::int64_t>(fractionDigits) + 4;
  const std::int64_t whole = significant + scale;
  if (whole > 20) return std::nullopt;  // at least 10^20, beyond 64 bits

  std::uint64_t magnitude = 0;
  const auto appendDigit = [&](unsigned d) {
    if (magnitude > (kMaxNegative - d) / 10) return false;
    magnitude = magnitude * 10 + d;
    return true;
  };
  for (std::int64_t k = 0; k < whole; ++k) {
    const unsigned d = k < significant ? digit(first + static_cast<std::size_t>(k)) : 0;
    if (!appendDigit(d)) return std::nullopt;
  }

  if (whole < significant && whole >= 0) {
    // Round half to even on the dropped digits. (whole < 0 means the number
    // is below 0.1 ten-thousandths and rounds to zero.)
    const unsigned roundingDigit = digit(first + static_cast<std::size_t>(whole));
    bool up = roundingDigit > 5;
    if (roundingDigit == 5) {
      bool restNonZero = false;
      for (auto k = static_cast<std::size_t>(whole) + 1; k < static_cast<std::size_t>(significant); ++k) {
        if (digit(first + k) != 0) {
          restNonZero = true;
          break;
        }
      }
      up = restNonZero || (magnitude % 2 == 1);
    }
    if (up) ++magnitude;  // at most 2^63 + 1: the range check below catches it
  }

  if (negative) {
    if (magnitude > kMaxNegative) return std::nullopt;
    return static_cast<std::int64_t>(0 - magnitude);  // two's complement, exact for 2^63
  }
  if (magnitude > kMaxPositive) return std::nullopt;
  return static_cast<std::int64_t>(magnitude);
}

}  // namespace version_text
