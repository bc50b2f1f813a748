// The top-level error report: every error that leaves an event handler ends
// here, is shown in a stop box captioned with the application title, and the
// updater goes on.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

void ReportUnhandledError(const std::exception& error) noexcept;

// The text the report shows: the message with "." appended when its last
// character's code is above that of "." (a letter, a digit, ":", "?", ...).
std::string ErrorReportText(const std::string& message);

// Calls `handler` and hands anything it throws to the error report. Wraps
// every entry from the system, so no exception unwinds through a Win32 frame.
template <typename Handler>
void GuardedCall(Handler&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {
    ReportUnhandledError(error);
  } catch (...) {
    ReportUnhandledError(std::runtime_error("Unknown error"));
  }
}
