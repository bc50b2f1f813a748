#include "host/payload.h"

#include "host/unique_handle.h"

#include <windows.h>

namespace {

// Virus scanners hold a freshly written executable for a moment; a sharing
// violation is retried for about a second in all.
constexpr int kSharingRetries = 10;
constexpr DWORD kSharingRetryPause = 100;  // milliseconds

bool IsLockError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_USER_MAPPED_FILE;
}

template <typename Attempt>
bool RetryOnSharingViolation(Attempt attempt) {
  for (int tries = 0;; ++tries) {
    if (attempt()) return true;
    if (GetLastError() != ERROR_SHARING_VIOLATION || tries == kSharingRetries) return false;
    Sleep(kSharingRetryPause);
  }
}

// Written beside the target, so that the move over it is a rename on one volume.
std::string TemporaryPayloadPath(const std::string& targetPath) { return targetPath + ".new"; }

}  // namespace

bool ExtractPayload(const std::string& resourceType, const std::string& resourceName, const std::string& fileName) {
  // Found and loaded before the file is created: a missing resource leaves no file.
  const HMODULE module = GetModuleHandleA(nullptr);
  const HRSRC found = FindResourceA(module, resourceName.c_str(), resourceType.c_str());
  if (!found) return false;
  const UniqueResource loaded(LoadResource(module, found));
  if (!loaded) return false;
  const void* bytes = LockResource(loaded.get());
  const DWORD size = SizeofResource(module, found);
  if (!bytes && size != 0) return false;

  bool written = false;
  {
    const UniqueFile file(CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!file) return false;
    DWORD count = 0;
    // One write of the whole payload, straight from the loaded image.
    written = (size == 0 || (WriteFile(file.get(), bytes, size, &count, nullptr) && count == size)) &&
              FlushFileBuffers(file.get());
  }
  if (!written) DeleteFileA(fileName.c_str());
  return written;
}

PayloadInstallResult ResourcePayloadInstaller::InstallPayload(const std::string& resourceType,
                                                              const std::string& resourceName,
                                                              const std::string& targetPath) {
  // A directory of that name counts as no file (and cannot be replaced).
  const DWORD attributes = GetFileAttributesA(targetPath.c_str());
  const bool targetExists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  // Windows refuses to replace a read-only file, but Wine allows it: looked at
  // here so that both behave alike.
  if (targetExists && (attributes & FILE_ATTRIBUTE_READONLY)) return PayloadInstallResult::TargetInUse;

  const std::string temporaryPath = TemporaryPayloadPath(targetPath);
  if (!ExtractPayload(resourceType, resourceName, temporaryPath)) return PayloadInstallResult::Failed;

  DWORD error = ERROR_SUCCESS;
  const bool moved = RetryOnSharingViolation([&] {
    const bool done = MoveFileExA(temporaryPath.c_str(), targetPath.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    error = GetLastError();
    return done;
  });
  if (moved) return PayloadInstallResult::Installed;

  DeleteFileA(temporaryPath.c_str());
  // A running program or a protected file refuses the replacement.
  return targetExists && IsLockError(error) ? PayloadInstallResult::TargetInUse : PayloadInstallResult::Failed;
}
