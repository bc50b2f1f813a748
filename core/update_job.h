// The updater's two pieces of work: the installation check that runs once
// after start-up, and the upgrade action that runs on each press of the
// upgrade button.
#pragma once

#include "core/installation_record.h"
#include "core/payload_installer.h"
#include "core/updater_view.h"

#include <string>

// The installation folder as the check read it (CALE), used unchanged by the
// upgrade action. Empty until the check has run.
extern std::string InstallFolder;

// Reads the record, reports in the log and offers the release version on
// the upgrade button, or leaves it disabled when nothing is installed. A
// record error ends it where it happened and is handed back.
Status RunInstallationCheck(IInstallationRecord& record, IUpdaterView& view);

// Replaces the installed main program with the payload and records the
// release version. A record error ends it where it happened and is handed back.
Status RunUpgradeAction(IInstallationRecord& record, IPayloadInstaller& payload, IUpdaterView& view);
