// The main window: a grey panel with the status log and two flat buttons,
// the one-shot start-up timer, and the handlers that run the update job.
#pragma once

#include "core/error.h"
#include "core/installation_record.h"
#include "core/payload_installer.h"
#include "core/updater_view.h"
#include "frame/application.h"
#include "host/unique_handle.h"
#include "ui/controls.h"

// Control identifiers, for automation and screen readers.
enum ControlId : int {
  kPanel1Id = 100,
  kMemo1Id = 101,
  kButton2Id = 102,
  kLbSpeedButton1Id = 103,
};

class TForm1 final : public TWindow, public TMainWindow, private IUpdaterView {
 public:
  TForm1(IInstallationRecord& record, IPayloadInstaller& payload);
  ~TForm1() override;

  // Creates the window, hidden, with all its controls, then runs FormCreate
  // (whose error goes to the error report). Fails when a window cannot be made.
  Status Create();

  HWND Handle() const noexcept override { return TWindow::Handle(); }
  void Show() override;

  // Event handlers. An error ends the handler where it happened; whoever
  // called it hands the error to the top-level error report.
  Status FormShow();
  Status Timer1Timer();
  Status Button1Click();
  Status Button2Click();
  void FormKeyDown(WORD key);
  Status FormCreate();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // IUpdaterView
  void DisarmStartupTimer() override;
  void AppendLogLine(const std::string& line) override;
  void SetUpgradeButtonCaption(const std::string& caption) override;
  void SetUpgradeButtonEnabled(bool enabled) override;
  void ShowErrorDialog(const std::string& text) override;
  void ShowInformationDialog(const std::string& text) override;

  Status ArmTimer1();

  IInstallationRecord& record_;
  IPayloadInstaller& payload_;
  UniqueGdiObject font_;
  UniqueGdiObject buttonFont_;
  TPanel Panel1;
  TMemo Memo1;
  TLbSpeedButton LbSpeedButton1;
  TLbSpeedButton Button2;
  bool timer1Armed_ = false;
};
