// The update payload: the new main program's executable, carried as a custom
// resource in the updater's own module, and the file steps that put it in
// place of the installed program without ever destroying the old one.
#pragma once

#include "core/payload_installer.h"

#include <string>

// Writes the resource (looked up without regard to case) to a new file
// `fileName`, which must not exist yet, in one write straight from the loaded
// resource, and flushes it to the disk. On any failure it leaves no file
// behind and gives false; GetLastError() then says why.
bool ExtractPayload(const std::string& resourceType, const std::string& resourceName, const std::string& fileName);

// The payload is written to a temporary file beside the target, under a name
// of its own, flushed, and then moved over the target in one step. A target
// that this user may not replace is found before the payload is written,
// wherever that can be known. The old file stays byte for byte as it was on
// every failure, no temporary file is left behind, and no other file in the
// folder is ever touched.
class ResourcePayloadInstaller final : public IPayloadInstaller {
 public:
  PayloadInstallResult InstallPayload(const std::string& resourceType, const std::string& resourceName,
                                      const std::string& targetPath) override;
};
