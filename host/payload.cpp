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

// The old file may be replaced by this user: not read-only (Windows refuses
// to replace such a file, Wine would not), and open for deletion with every
// other kind of access shared (a program that holds it, or a file the user
// may not delete, refuses). A running program's file passes; only the move
// finds that one.
bool MayBeReplaced(const std::string& targetPath, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_READONLY) return false;
  UniqueFile probe;
  RetryOnSharingViolation([&] {
    probe.reset(CreateFileA(targetPath.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(probe);
  });
  if (probe) return true;
  const DWORD error = GetLastError();
  return error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION;
}

// A short name that no file of the user's has ("~vu" and five hex digits,
// shorter than the program's own name), in the target's folder, so that the
// move over the target is a rename on one volume.
std::string TemporaryPayloadPath(const std::string& targetPath, DWORD number) {
  std::string name = "~vu";
  for (int shift = 16; shift >= 0; shift -= 4) name += "0123456789abcdef"[(number >> shift) & 0xF];
  return targetPath.substr(0, targetPath.find_last_of('\\') + 1) + name;
}

// Writes the payload to a new temporary file beside the target, under a name
// that no file had. False when that cannot be done; GetLastError() says why.
bool ExtractPayloadBeside(const std::string& resourceType, const std::string& resourceName,
                          const std::string& targetPath, std::string& temporaryPath) {
  constexpr DWORD kAttempts = 16;
  const DWORD start = GetTickCount() ^ (GetCurrentProcessId() << 8);
  for (DWORD attempt = 0; attempt < kAttempts; ++attempt) {
    temporaryPath = TemporaryPayloadPath(targetPath, start + attempt * 7919);  // a prime step spreads the tries
    if (ExtractPayload(resourceType, resourceName, temporaryPath)) return true;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

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
  DWORD error = ERROR_SUCCESS;
  {
    const UniqueFile file(CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!file) return false;
    DWORD count = 0;
    // One write of the whole payload, straight from the loaded image.
    written = (size == 0 || (WriteFile(file.get(), bytes, size, &count, nullptr) && count == size)) &&
              FlushFileBuffers(file.get());
    error = written ? ERROR_SUCCESS : (GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT);
  }
  if (written) return true;
  DeleteFileA(fileName.c_str());  // this call created it
  SetLastError(error);
  return false;
}

PayloadInstallResult ResourcePayloadInstaller::InstallPayload(const std::string& resourceType,
                                                              const std::string& resourceName,
                                                              const std::string& targetPath) {
  // A directory of that name counts as no file (and cannot be replaced).
  const DWORD attributes = GetFileAttributesA(targetPath.c_str());
  const bool targetExists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  // Found before anything is written, wherever that can be known.
  if (targetExists && !MayBeReplaced(targetPath, attributes)) return PayloadInstallResult::TargetInUse;

  std::string temporaryPath;
  if (!ExtractPayloadBeside(resourceType, resourceName, targetPath, temporaryPath)) {
    // A folder where this user may not create files protects the old file as well.
    return targetExists && GetLastError() == ERROR_ACCESS_DENIED ? PayloadInstallResult::TargetInUse
                                                                 : PayloadInstallResult::Failed;
  }

  DWORD error = ERROR_SUCCESS;
  const bool moved = RetryOnSharingViolation([&] {
    const bool done = MoveFileExA(temporaryPath.c_str(), targetPath.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    error = GetLastError();
    return done;
  });
  if (moved) return PayloadInstallResult::Installed;

  // Only the file this call created; a scanner may hold it for a moment.
  RetryOnSharingViolation([&] { return DeleteFileA(temporaryPath.c_str()) != FALSE; });
  // A running program or a protected file refuses the replacement.
  return targetExists && IsLockError(error) ? PayloadInstallResult::TargetInUse : PayloadInstallResult::Failed;
}
