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

// Abandons an operation without telling the user: the error report shows
// nothing for it. The updater itself never raises it.
class EAbort : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
