// Puts the carried payload in place of the installed main program.
#pragma once

#include <string>

enum class PayloadInstallResult {
  Installed,    // the new file is in place
  TargetInUse,  // a file is there and may not be replaced: running, read-only or protected
  Failed,       // the payload could not be found, written or put in place
};

class IPayloadInstaller {
 public:
  virtual ~IPayloadInstaller() = default;
  // Never leaves the old file damaged: on anything but Installed it is as it was.
  virtual PayloadInstallResult InstallPayload(const std::string& resourceType, const std::string& resourceName,
                                              const std::string& targetPath) = 0;
};
