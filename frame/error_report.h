// The top-level error report: every error that ends an event handler comes
// here, is shown in a stop box captioned with the application title, and the
// updater goes on. Handlers hand their errors back as values; whoever the
// system called (a window procedure, the message loop) reports them.
#pragma once

#include "core/error.h"

#include <string>

void ReportUnhandledError(const Error& error);

// The text the report shows: the message with "." appended when its last
// character's code is above that of "." (a letter, a digit, ":", "?", ...).
std::string ErrorReportText(const std::string& message);

// Reports the error of a handler that failed; the handler stopped where it failed.
inline void ReportIfFailed(const Status& status) {
  if (!status.ok()) ReportUnhandledError(status.error());
}
