#include "core/version.h"

#include "core/format_settings.h"

#include <charconv>
#include <cstdint>

namespace {

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// "-" when negative, the integer part, the separator and the four decimals;
// the decimals' trailing zeros go when `trimDecimals` is set.
std::string FormatTenThousandths(std::int64_t value, bool trimDecimals) {
  const bool negative = value < 0;
  // Unsigned negation is exact also for the most negative value.
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);

  char integerDigits[24];
  const auto end = std::to_chars(std::begin(integerDigits), std::end(integerDigits), magnitude / 10000).ptr;

  std::string text;
  if (negative) text += '-';
  text.append(integerDigits, end);

  const auto decimals = static_cast<unsigned>(magnitude % 10000);
  if (trimDecimals && decimals == 0) return text;
  std::string fraction{static_cast<char>('0' + decimals / 1000), static_cast<char>('0' + decimals / 100 % 10),
                       static_cast<char>('0' + decimals / 10 % 10), static_cast<char>('0' + decimals % 10)};
  if (trimDecimals) fraction.erase(fraction.find_last_not_of('0') + 1);
  text += FormatSettings.DecimalSeparator;
  return text + fraction;
}

}  // namespace

Result<VersionValue> ParseVersion(std::string_view text) {
  const auto parsed = version_text::ParseTenThousandths(text, FormatSettings.DecimalSeparator);
  if (!parsed) {
    std::string message = "'";  // appended piece by piece: GCC 12 at -O3 warns wrongly on a + chain here
    message.append(UpToNul(text));
    message += "' is not a valid floating point value";
    return Error{kConvertError, message};
  }
  return VersionValue{*parsed};
}

VersionValue ParseVersionOrDefault(std::string_view text, VersionValue fallback) {
  const auto parsed = version_text::ParseTenThousandths(text, FormatSettings.DecimalSeparator);
  return parsed ? VersionValue{*parsed} : fallback;
}

std::string VersionDisplayText(VersionValue value) {
  if (value.tenThousandths == 0) return "0";
  return FormatTenThousandths(value.tenThousandths, true);
}

std::string VersionStoredText(VersionValue value) { return FormatTenThousandths(value.tenThousandths, false); }
