// Registry and file helpers for the Windows tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_support {

struct RawValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::string bytes;
};

void DeleteKeyTree(HKEY root, const std::string& path);
bool KeyExists(HKEY root, const std::string& path);
// Stores exactly `bytes` under the given type, creating the key.
void SetRawValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& bytes);
// A text with its closing NUL, as the system stores it.
void SetTextValue(HKEY root, const std::string& path, const std::string& name, const std::string& text,
                  DWORD type = REG_SZ);
RawValue ReadRawValue(HKEY root, const std::string& path, const std::string& name);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Names in the folder, without "." and "..", sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
// A new empty folder under the temporary folder.
std::string MakeTempFolder(const std::string& prefix);
void RemoveTree(const std::string& folder);

}  // namespace test_support
