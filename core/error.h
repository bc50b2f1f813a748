// Errors as values. The few ways the updater's work can fail travel as an
// Error to the handler's caller, which hands it to the top-level error report
// (a handler's error) or to the fatal report (a start-up error). The updater
// is built without C++ exceptions.
#pragma once

#include <string>
#include <utility>

struct Error {
  // The error's class as the reports name it, after the platform's error
  // classes: "ERegistryException", "EConvertError", ...
  const char* kind = "Exception";
  // The exact text the user sees.
  std::string message;
};

// Error kinds.
inline constexpr char kConvertError[] = "EConvertError";            // a text that is not a valid version text
inline constexpr char kRegistryException[] = "ERegistryException";  // a record value not text, or not readable or writable
inline constexpr char kOutOfResources[] = "EOutOfResources";        // no timer (or other system object) left
inline constexpr char kOSError[] = "EOSError";                      // a window that cannot be created
// Abandons an operation without telling the user: the error report shows
// nothing for it. The updater itself never raises it.
inline constexpr char kAbort[] = "EAbort";

// Success, or the error that ended the work.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error)), failed_(true) {}

  bool ok() const noexcept { return !failed_; }
  const Error& error() const noexcept { return error_; }

 private:
  Error error_;
  bool failed_ = false;
};

// A value, or the error that kept it from being made.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  Result(Error error) : error_(std::move(error)), failed_(true) {}

  bool ok() const noexcept { return !failed_; }
  // Only when ok().
  const T& value() const noexcept { return value_; }
  T& value() noexcept { return value_; }
  const Error& error() const noexcept { return error_; }
  // The error as a Status, to hand on.
  Status status() const { return failed_ ? Status(error_) : Status(); }

 private:
  T value_{};
  Error error_;
  bool failed_ = false;
};
