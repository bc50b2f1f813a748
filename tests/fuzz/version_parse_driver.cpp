// Reads "hex-text expected" lines (expected: ten-thousandths, or x for an
// invalid text) and checks ParseVersionOrDefault on each. Prints a summary
// line and every disagreement; exits 1 when there is any.
#include "core/version.h"

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

std::string FromHex(const std::string& hex) {
  const auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
  std::string text;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) text += static_cast<char>(nibble(hex[i]) * 16 + nibble(hex[i + 1]));
  return text;
}

}  // namespace

int main() {
  // Two different defaults: a valid text gives the same value for both.
  constexpr VersionValue kFirstDefault{-1};
  constexpr VersionValue kSecondDefault{-2};
  long long checked = 0;
  long long mismatches = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    const auto space = line.find(' ');
    const std::string text = FromHex(line.substr(0, space));
    const std::string expected = line.substr(space + 1);
    const VersionValue first = ParseVersionOrDefault(text, kFirstDefault);
    const VersionValue second = ParseVersionOrDefault(text, kSecondDefault);
    const std::string actual = first == second ? std::to_string(first.tenThousandths) : "x";
    ++checked;
    if (actual != expected && ++mismatches <= 20) {
      std::cout << "MISMATCH text(hex)=" << line.substr(0, std::min<std::size_t>(space, 200)) << " expected=" << expected
                << " actual=" << actual << "\n";
    }
  }
  std::cout << "version parse: " << checked << " texts checked against the oracle, " << mismatches << " disagreements\n";
  return mismatches == 0 && checked > 0 ? 0 : 1;
}
