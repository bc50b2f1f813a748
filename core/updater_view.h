// What the update job does to the main window and the dialogs.
#pragma once

#include <string>

class IUpdaterView {
 public:
  virtual ~IUpdaterView() = default;
  virtual void DisarmStartupTimer() = 0;
  virtual void AppendLogLine(const std::string& line) = 0;
  virtual void SetUpgradeButtonCaption(const std::string& caption) = 0;
  virtual void SetUpgradeButtonEnabled(bool enabled) = 0;
  // Modal; they return when the user has closed the dialog.
  virtual void ShowErrorDialog(const std::string& text) = 0;
  virtual void ShowInformationDialog(const std::string& text) = 0;
};
