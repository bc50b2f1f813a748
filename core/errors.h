// Errors that leave an event handler and reach the top-level error report.
// Each carries the exact text the user sees.
#pragma once

#include <stdexcept>
#include <string>

// A text that is not a valid version text.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An installation record value that is not text, or that cannot be read or
// written.
class ERegistryException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
