// The main window: a grey panel with the status log and two flat buttons,
// the one-shot start-up timer, and the handlers that run the update job.
#pragma once

#include "app/application.h"
#include "core/installation_record.h"
#include "core/payload_installer.h"
#include "core/updater_view.h"
#include "host/unique_handle.h"
#include "ui/controls.h"

#include <memory>

// Control identifiers, for automation and screen readers.
enum ControlId : int {
  kPanel1Id = 100,
  kMemo1Id = 101,
  kButton2Id = 102,
  kLbSpeedButton1Id = 103,
};

class TForm1 final : public TWindow, public TMainWindow, private IUpdaterView {
 public:
  // Creates the window, hidden, with all its controls, then runs FormCreate.
  TForm1(IInstallationRecord& record, IPayloadInstaller& payload);
  ~TForm1() override;

  HWND Handle() const noexcept override { return TWindow::Handle(); }
  void Show() override;

  // Event handlers.
  void FormShow();
  void Timer1Timer();
  void Button1Click();
  void Button2Click();
  void FormKeyDown(WORD key);
  void FormCreate();

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

  void ArmTimer1();

  IInstallationRecord& record_;
  IPayloadInstaller& payload_;
  UniqueGdiObject font_;
  UniqueGdiObject buttonFont_;
  std::unique_ptr<TPanel> Panel1;
  std::unique_ptr<TMemo> Memo1;
  std::unique_ptr<TLbSpeedButton> LbSpeedButton1;
  std::unique_ptr<TLbSpeedButton> Button2;
  bool timer1Armed_ = false;
};
