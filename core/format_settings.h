// The process-wide number and date formats. One copy for the whole process:
// the application frame fills it from the user's regional settings at start
// and fixes it while the main window is created; every version text is read
// and made with its decimal separator at the moment the operation runs.
#pragma once

#include <string>

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '.';
  std::string ShortDateFormat = "dd.MM.yyyy";
};

extern TFormatSettings FormatSettings;
