#include "core/format_settings.h"
#include "core/version.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>

// Readable values in failure messages.
void PrintTo(VersionValue value, std::ostream* out) { *out << value.tenThousandths; }

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

struct ParseCase {
  std::string text;
  std::optional<std::int64_t> tenThousandths;  // nothing: invalid
};

std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\t') out += "\\t";
    else if (c == '\0') out += "\\0";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  if (out.size() > 60) out = out.substr(0, 30) + "..." + out.substr(out.size() - 30);
  return "\"" + out + "\"";
}

void ExpectParse(const ParseCase& c) {
  SCOPED_TRACE(Printable(c.text));
  constexpr VersionValue kSentinel{-777};
  const VersionValue orDefault = ParseVersionOrDefault(c.text, kSentinel);
  if (c.tenThousandths) {
    EXPECT_EQ(orDefault.tenThousandths, *c.tenThousandths);
    EXPECT_EQ(ParseVersion(c.text).value().tenThousandths, *c.tenThousandths);
  } else {
    EXPECT_EQ(orDefault, kSentinel);
    EXPECT_STREQ(ParseVersion(c.text).error().kind, kConvertError);
  }
}

class VersionTest : public ::testing::Test {
 protected:
  void SetUp() override { FormatSettings.DecimalSeparator = '.'; }
  void TearDown() override { FormatSettings.DecimalSeparator = '.'; }
};

TEST_F(VersionTest, WorkedExamplesOfTheInstalledVersion) {
  const ParseCase cases[] = {
      {"1.0003", 10003}, {"1.00030", 10003}, {"1.0002", 10002}, {"1.25", 12500},
      {"2", 20000},      {" 1.5 ", 15000},   {"1.10", 11000},   {"1e2", 1000000},
      {"-3", -30000},    {".5", 5000},       {"5.", 50000},     {"00012.5000", 125000},
      {"1.00035", 10004}, {"1,5", {}},       {"abc", {}},       {" ", {}},
      {"1.5\t", {}},     {"- 3", {}},        {"1e15", {}},
  };
  for (const auto& c : cases) ExpectParse(c);
}

TEST_F(VersionTest, GrammarEdges) {
  const ParseCase cases[] = {
      // A lone separator is worth 0, also after a sign; a lone sign is not a number.
      {".", 0}, {"+.", 0}, {"-.", 0}, {"+", {}}, {"-", {}}, {"", {}},
      // Exponents without digits count as 0.
      {"1E", 10000}, {"1e+", 10000}, {"1e-", 10000}, {"2E-1", 2000}, {"+.5e1", 50000}, {".e1", 0},
      {"e1", {}}, {"1e1e1", {}}, {"1ee1", {}}, {"1e 1", {}},
      // Only spaces are blanks, only around the number.
      {"   7   ", 70000}, {"\t1", {}}, {"1\t", {}}, {"1\n", {}}, {"+ 1", {}}, {"1 .5", {}}, {"1. 5", {}},
      {"1.2.3", {}}, {"1,000", {}}, {"$1", {}}, {"1x", {}}, {"0x10", {}}, {"++1", {}}, {"+-1", {}},
      // Leading zeros and long digit runs.
      {"0000000000000000000000000000001", 10000},
      {"1.00000000000000000000000000000000000000000000000000001", 10000},
      {"0.000050000000000000000000000000000000000000000001", 1},
      // A NUL ends the text.
      {std::string("1.5\0junk", 8), 15000}, {std::string("\0" "1", 2), {}},
  };
  for (const auto& c : cases) ExpectParse(c);
}

TEST_F(VersionTest, RoundsHalfToEvenFromAllDigits) {
  const ParseCase cases[] = {
      {"1.00035", 10004}, {"1.00025", 10002}, {"1.00045", 10004}, {"0.00015", 2},
      {"0.00005", 0},     {"-1.00005", -10000}, {"1.5e-4", 2}, {"0.000049999999", 0},
      {"0.00005000000000000000000000001", 1}, {"0.000150", 2}, {"0.00025", 2},
      {"-0", 0}, {"-0.00004", 0}, {"-0.00005", 0}, {"-0.00015", -2},
      // Beyond 19 significant digits the rounding stays exact.
      {"1234567890.12345678901234567890", 12345678901235},
      {"0.99999999999999999999999", 10000},
  };
  for (const auto& c : cases) ExpectParse(c);
}

TEST_F(VersionTest, RangeBoundsAndExponentExtremes) {
  const ParseCase cases[] = {
      {"922337203685477.5807", kMax}, {"-922337203685477.5808", kMin},
      {"922337203685477.5808", {}}, {"-922337203685477.5809", {}},
      {"922337203685477.58074999", kMax}, {"922337203685477.58075", {}},
      {"-922337203685477.58085", kMin}, {"-922337203685477.5808500001", {}},
      {"1e14", 1000000000000000000}, {"1e15", {}}, {"1E500", {}}, {"1E-500", 0}, {"0e500", 0},
      {"1e99999999999999999999", {}}, {"1e-99999999999999999999", 0},
      {"0.00000000000000000000000000001e99999999999999999999", {}},
      {"100000000000000000000e-99999999999999999999", 0},
      {"18446744073709551616", {}}, {"1844674407370955.1616", {}},
      {"-0e99999999999999999999", 0},
  };
  for (const auto& c : cases) ExpectParse(c);
}

TEST_F(VersionTest, LongTextsAreParsedInFull) {
  const std::string million(1'000'000, '0');
  ExpectParse({million + "1.5", 15000});
  ExpectParse({"1." + million + "5", 10000});
  ExpectParse({"0.0000" + std::string(500'000, '0') + "1e500001", 1});
  ExpectParse({std::string(1'000'000, ' ') + "1", 10000});
  ExpectParse({std::string(1'000'000, '9'), {}});
}

TEST_F(VersionTest, DisplayAndStoredForms) {
  struct FormCase {
    std::int64_t value;
    const char* display;
    const char* stored;
  };
  const FormCase cases[] = {
      {10003, "1.0003", "1.0003"},   {12500, "1.25", "1.2500"},   {20000, "2", "2.0000"},
      {5000, "0.5", "0.5000"},       {1, "0.0001", "0.0001"},     {-30000, "-3", "-3.0000"},
      {-5000, "-0.5", "-0.5000"},    {1000000, "100", "100.0000"}, {0, "0", "0.0000"},
      {12345678, "1234.5678", "1234.5678"}, {-1, "-0.0001", "-0.0001"}, {11000, "1.1", "1.1000"},
      {kMax, "922337203685477.5807", "922337203685477.5807"},
      {kMin, "-922337203685477.5808", "-922337203685477.5808"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VersionDisplayText(VersionValue{c.value}), c.display);
    EXPECT_EQ(VersionStoredText(VersionValue{c.value}), c.stored);
  }
}

TEST_F(VersionTest, ComparesAsIntegers) {
  EXPECT_EQ(ParseVersion("1.1").value(), ParseVersion("1.10").value());
  EXPECT_GT(ParseVersion("1.9").value(), ParseVersion("1.10").value());
  EXPECT_LT(ParseVersion("1.0002").value(), ParseVersion("1.0003").value());
  EXPECT_LT(VersionValue{kMin}, VersionValue{kMax});
}

TEST_F(VersionTest, ConversionErrorNamesTheText) {
  const Result<VersionValue> parsed = ParseVersion("1,5");
  ASSERT_FALSE(parsed.ok()) << "no error";
  EXPECT_EQ(parsed.error().message, "'1,5' is not a valid floating point value");
}

TEST_F(VersionTest, ReadsTheDecimalSeparatorWhenItRuns) {
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(ParseVersion("1,5").value().tenThousandths, 15000);
  EXPECT_STREQ(ParseVersion("1.5").error().kind, kConvertError);
  EXPECT_EQ(VersionDisplayText(VersionValue{15000}), "1,5");
  EXPECT_EQ(VersionStoredText(VersionValue{15000}), "1,5000");
  FormatSettings.DecimalSeparator = '.';
  EXPECT_EQ(VersionDisplayText(VersionValue{15000}), "1.5");
}

TEST_F(VersionTest, EveryDisplayFormReadsBackToItsValue) {
  std::mt19937_64 random(20261211);
  std::uniform_int_distribution<std::int64_t> anyValue(kMin, kMax);
  std::uniform_int_distribution<std::int64_t> smallValue(-10'000'000, 10'000'000);
  for (int i = 0; i < 200'000; ++i) {
    const VersionValue value{i % 2 ? anyValue(random) : smallValue(random)};
    const std::string display = VersionDisplayText(value);
    ASSERT_EQ(ParseVersion(display).value(), value) << display;
    ASSERT_EQ(ParseVersion(VersionStoredText(value)).value(), value) << VersionStoredText(value);
  }
}

}  // namespace
