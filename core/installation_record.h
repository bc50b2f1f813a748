// The installation record: the registry key where the main program's
// installation keeps its folder (CALE) and version (VER).
#pragma once

#include "core/error.h"

#include <string>

class IInstallationRecord {
 public:
  virtual ~IInstallationRecord() = default;
  // A missing key or value, or one without data, reads as "". A value that
  // is not text, or cannot be read, fails with ERegistryException.
  virtual Result<std::string> ReadRecordValue(const std::string& name) = 0;
  // Stores `value` as text; fails with ERegistryException when it cannot.
  virtual Status WriteRecordValue(const std::string& name, const std::string& value) = 0;
};
