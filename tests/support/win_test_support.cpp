#include "tests/support/win_test_support.h"

#include "host/unique_handle.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace test_support {

void DeleteKeyTree(HKEY root, const std::string& path) {
  RegDeleteTreeA(root, path.c_str());
  RegDeleteKeyA(root, path.c_str());
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetRawValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& bytes) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create key " + path);
  }
  const UniqueRegistryKey key(opened);
  if (RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size())) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot set value " + name);
  }
}

void SetTextValue(HKEY root, const std::string& path, const std::string& name, const std::string& text, DWORD type) {
  SetRawValue(root, path, name, type, text + '\0');
}

RawValue ReadRawValue(HKEY root, const std::string& path, const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  const UniqueRegistryKey key(opened);
  RawValue value;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return {};
  value.bytes.resize(size);
  RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(value.bytes.data()), &size);
  value.bytes.resize(size);
  value.exists = true;
  return value;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  const UniqueFind search(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!search) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search.get(), &found));
  std::sort(names.begin(), names.end());
  return names;
}

std::string MakeTempFolder(const std::string& prefix) {
  static std::atomic<int> counter{0};
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  std::ostringstream name;
  name << base << prefix << '-' << GetCurrentProcessId() << '-' << counter++;
  RemoveTree(name.str());
  if (!CreateDirectoryA(name.str().c_str(), nullptr)) throw std::runtime_error("cannot create " + name.str());
  return name.str();
}

void RemoveTree(const std::string& folder) {
  for (const auto& name : FolderEntries(folder)) {
    const std::string path = folder + "\\" + name;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path);
    } else {
      DeleteFileA(path.c_str());
    }
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace test_support
