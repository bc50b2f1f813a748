// The fatal error report: an error at start-up, before the message loop runs,
// ends the updater. Shown in a task-modal stop box captioned "Application
// Error"; the process then exits with code 1.
#pragma once

#include "core/error.h"

// Shows the report and gives the exit code, 1.
int ShowFatalError(const Error& error);
