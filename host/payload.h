// The update payload: the new main program's executable, carried as a custom
// resource in the updater's own module, and the file steps that put it in
// place of the installed program without ever destroying the old one.
#pragma once

#include "core/payload_installer.h"

#include <string>

// Writes the resource (looked up without regard to case) to a new file
// `fileName` in one write straight from the loaded resource, and flushes it
// to the disk. On any failure it leaves no file behind and gives false.
bool ExtractPayload(const std::string& resourceType, const std::string& resourceName, const std::string& fileName);

// The payload is written to a temporary file beside the target, flushed, and
// then moved over the target in one step. The old file stays byte for byte
// as it was on every failure, and no temporary file is left behind.
class ResourcePayloadInstaller final : public IPayloadInstaller {
 public:
  PayloadInstallResult InstallPayload(const std::string& resourceType, const std::string& resourceName,
                                      const std::string& targetPath) override;
};
