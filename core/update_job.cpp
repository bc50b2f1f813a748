#include "core/update_job.h"

#include "core/release_profile.h"
#include "core/version.h"

std::string InstallFolder;

Status RunInstallationCheck(IInstallationRecord& record, IUpdaterView& view) {
  view.DisarmStartupTimer();  // first, so that the check never runs twice
  const Result<std::string> folder = record.ReadRecordValue("CALE");
  if (!folder.ok()) return folder.error();
  InstallFolder = folder.value();
  const Result<std::string> version = record.ReadRecordValue("VER");
  if (!version.ok()) return version.error();
  std::string installedVersion = version.value();

  if (installedVersion.empty()) {
    view.AppendLogLine(std::string("Programul ") + ProductDisplayName + " NU este instalat aici!");
    view.SetUpgradeButtonEnabled(false);
    return {};
  }

  // A text that is no version counts as version 0.
  installedVersion = VersionDisplayText(ParseVersionOrDefault(installedVersion, VersionValue{0}));
  view.AppendLogLine(std::string("Cale ") + ProductDisplayName + "   : " + InstallFolder);
  view.AppendLogLine("Versiune instalata : " + installedVersion);
  view.SetUpgradeButtonCaption("Actualizare la versiunea " + VersionDisplayText(ReleaseVersion));
  // A display form always reads back to its own value.
  if (!(ReleaseVersion > ParseVersion(installedVersion).value())) view.AppendLogLine("Aveti deja ultima versiune!");
  // Also when up to date: the user may reinstall the release or go back to it.
  view.SetUpgradeButtonEnabled(true);
  return {};
}

Status RunUpgradeAction(IInstallationRecord& record, IPayloadInstaller& payload, IUpdaterView& view) {
  const std::string targetPath = InstallFolder + "\\" + MainProgramFileName;

  switch (payload.InstallPayload(PayloadResourceType, PayloadResourceName, targetPath)) {
    case PayloadInstallResult::TargetInUse:
      view.ShowErrorDialog(std::string("Inchideti mai intai ") + ProductDisplayName + "!");
      return {};
    case PayloadInstallResult::Failed:
      view.ShowErrorDialog("Nu pot extrage noul program!");
      return {};
    case PayloadInstallResult::Installed:
      break;
  }

  // The version is recorded only once the new file is in place.
  view.AppendLogLine("Versiune actualizata.");
  if (Status written = record.WriteRecordValue("VER", VersionStoredText(ReleaseVersion)); !written.ok()) return written;
  view.ShowInformationDialog(std::string(ProductDisplayName) + " a fost actualizat la versiunea " +
                             VersionDisplayText(ReleaseVersion) + ".");
  return {};
}
