// The installation record in the registry: the key Software\Dorvani\<product
// key> under HKEY_LOCAL_MACHINE, in the registry view Windows gives this program.
// Each call opens the key, makes its one read or write and closes it again.
#pragma once

#include "core/installation_record.h"

#include <windows.h>

#include <string>

class RegistryInstallationRecord final : public IInstallationRecord {
 public:
  RegistryInstallationRecord();
  // For tests: another root or key.
  RegistryInstallationRecord(HKEY root, std::string keyPath);

  // Opens the key for reading only and creates nothing, so that a user who
  // may read but not write the key still sees the installed program.
  Result<std::string> ReadRecordValue(const std::string& name) override;
  // Opens the key for writing, creating it (and its parents) when missing.
  Status WriteRecordValue(const std::string& name, const std::string& value) override;

 private:
  HKEY root_;
  std::string keyPath_;
};
