#include "host/installation_record.h"

#include "core/release_profile.h"
#include "host/unique_handle.h"

RegistryInstallationRecord::RegistryInstallationRecord()
    : RegistryInstallationRecord(HKEY_LOCAL_MACHINE, std::string("Software\\Dorvani\\") + ProductKey) {}

RegistryInstallationRecord::RegistryInstallationRecord(HKEY root, std::string keyPath)
    : root_(root), keyPath_(std::move(keyPath)) {}

Result<std::string> RegistryInstallationRecord::ReadRecordValue(const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root_, keyPath_.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::string();
  const UniqueRegistryKey key(opened);

  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) {
    return std::string();
  }
  std::string data(size, '\0');
  DWORD fetched = size;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &fetched) !=
      ERROR_SUCCESS) {
    return Error{kRegistryException, "Failed to get data for '" + name + "'"};
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return Error{kRegistryException, "Invalid data type for '" + name + "'"};
  data.resize(fetched);
  return data.substr(0, data.find('\0'));  // environment references stay unexpanded
}

Status RegistryInstallationRecord::WriteRecordValue(const std::string& name, const std::string& value) {
  HKEY opened = nullptr;
  const LSTATUS created = RegCreateKeyExA(root_, keyPath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                          nullptr, &opened, nullptr);
  const UniqueRegistryKey key(created == ERROR_SUCCESS ? opened : nullptr);
  const auto size = static_cast<DWORD>(value.size() + 1);  // with the closing NUL
  if (!key || RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), size) !=
                  ERROR_SUCCESS) {
    return Error{kRegistryException, "Failed to set data for '" + name + "'"};
  }
  return {};
}
