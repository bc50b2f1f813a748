// The real updater under Wine, driven through its window like a user would:
// layout, captions, states, the installation check, the upgrade, dialogs,
// the error report and every way out, with the registry and files checked.
//
//   updater_e2e_test UPDATER UPDATER_WITH_FAULTS STANDIN_OLD STANDIN_RELEASE ARTIFACT_FOLDER
//                    PLANTED_DLL NAIVE_LOADER
#include "tests/e2e/automation.h"
#include "tests/support/win_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace automation;
using namespace test_support;
using ::testing::ElementsAre;

struct Paths {
  std::string updater, updaterWithFaults, standinOld, standinRelease, artifacts, plantedDll, naiveLoader;
} paths;

constexpr char kRecordKey[] = "Software\\Dorvani\\105";
constexpr char kFaultsKey[] = "Software\\VelnaTestFaults";
constexpr char kInternationalKey[] = "Control Panel\\International";
constexpr int kPanel1Id = 100, kMemo1Id = 101, kButton2Id = 102, kLbSpeedButton1Id = 103;
constexpr char kCaption[] = "Velna 2025 - UpGrade v.1.0003";
constexpr char kNotInstalled[] = "Programul Velna 2025 NU este instalat aici!";
constexpr char kUpToDate[] = "Aveti deja ultima versiune!";
constexpr char kUpgradeCaption[] = "Actualizare la versiunea 1.0003";
constexpr char kSuccess[] = "Velna 2025 a fost actualizat la versiunea 1.0003.";

// A user setting changed for one test and put back as it was when the test
// ends, also when it ends early.
class ChangedSetting {
 public:
  ChangedSetting(const char* key, const char* name) : key_(key), name_(name), saved_(ReadRawValue(HKEY_CURRENT_USER, key, name)) {}
  ~ChangedSetting() {
    if (saved_.exists) {
      SetRawValue(HKEY_CURRENT_USER, key_, name_, saved_.type, saved_.bytes);
    } else {
      RegDeleteKeyValueA(HKEY_CURRENT_USER, key_, name_);
    }
  }
  ChangedSetting(const ChangedSetting&) = delete;
  ChangedSetting& operator=(const ChangedSetting&) = delete;

 private:
  const char* key_;
  const char* name_;
  RawValue saved_;
};

class UpdaterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kRecordKey);
    DeleteKeyTree(HKEY_CURRENT_USER, kFaultsKey);
    folder_ = MakeTempFolder("velna-e2e");
    target_ = folder_ + "\\V2025.exe";
  }
  void TearDown() override {
    RemoveTree(folder_);
    DeleteKeyTree(HKEY_CURRENT_USER, kFaultsKey);
  }

  // The main program installed at `version`, with the old stand-in in place.
  void Install(const std::string& version) {
    SetTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "CALE", folder_);
    SetTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "VER", version);
    WriteFileBytes(target_, ReadFileBytes(paths.standinOld));
  }
  static void SetFault(const char* name, const std::string& text) { SetTextValue(HKEY_CURRENT_USER, kFaultsKey, name, text); }

  static std::string RecordText(const char* name) {
    const RawValue value = ReadRawValue(HKEY_LOCAL_MACHINE, kRecordKey, name);
    return value.bytes.substr(0, value.bytes.find('\0'));
  }
  static void Screenshot(HWND window, const std::string& name) {
    std::this_thread::sleep_for(300ms);  // let it paint
    RECT area;
    GetWindowRect(window, &area);
    InflateRect(&area, 8, 8);
    SaveScreenshot(area, paths.artifacts + "\\" + name + ".bmp");
  }
  static Dialog ExpectDialog(const UpdaterProcess& updater, const std::string& caption, const std::string& text,
                             IconKind icon) {
    Dialog dialog;
    EXPECT_TRUE(updater.FindDialog(dialog)) << "no dialog: " << text;
    EXPECT_EQ(dialog.caption, caption);
    EXPECT_EQ(dialog.text, text);
    EXPECT_EQ(dialog.icon, icon);
    EXPECT_THAT(dialog.buttons, ElementsAre("OK"));
    return dialog;
  }
  static void ExpectEscapeEndsIt(const UpdaterProcess& updater) {
    PressKey(VK_ESCAPE);
    EXPECT_EQ(updater.WaitForExit(), 0u);
  }
  static void ExpectStillRunning(const UpdaterProcess& updater) {
    std::this_thread::sleep_for(400ms);
    EXPECT_TRUE(updater.Running());
  }

  std::string folder_;
  std::string target_;
};

TEST_F(UpdaterTest, MainWindowLayoutCaptionAndStartState) {
  UpdaterProcess updater(paths.updater);
  const HWND main = updater.MainWindow();
  EXPECT_EQ(WindowText(main), kCaption);  // set before the window became visible
  // Owned by the application window, which stands for the updater on the taskbar.
  EXPECT_EQ(WindowText(GetWindow(main, GW_OWNER)), "Actualizare Velna");

  const HWND upgrade = updater.Control(kButton2Id);
  const HWND close = updater.Control(kLbSpeedButton1Id);
  EXPECT_EQ(WindowText(upgrade), "Cautare...");
  EXPECT_FALSE(IsWindowEnabled(upgrade));
  EXPECT_EQ(WindowText(close), "Inchide");
  EXPECT_TRUE(IsWindowEnabled(close));

  const SIZE client = ClientSize(main);
  EXPECT_EQ(client.cx, 441);
  EXPECT_EQ(client.cy, 179);
  const auto expectBounds = [](HWND window, RECT expected) {
    const RECT actual = BoundsInParent(window);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right - actual.left, expected.right);
    EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
  };
  const HWND log = updater.Control(kMemo1Id);
  expectBounds(updater.Control(kPanel1Id), RECT{8, 8, 425, 161});
  expectBounds(log, RECT{16, 16, 393, 97});
  expectBounds(upgrade, RECT{16, 120, 201, 31});
  expectBounds(close, RECT{300, 120, 108, 31});
  EXPECT_EQ(ClientSize(log).cx, 389);  // inside the 2-pixel edge
  EXPECT_EQ(ClientSize(log).cy, 93);

  // Centred on the screen.
  RECT frame;
  GetWindowRect(main, &frame);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);

  // Fixed size: no sizing border, no minimise or maximise box.
  const LONG style = GetWindowLongA(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  const LONG logStyle = GetWindowLongA(log, GWL_STYLE);
  EXPECT_TRUE((logStyle & ES_READONLY) && (logStyle & ES_MULTILINE));
  EXPECT_FALSE(logStyle & (WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL));
  EXPECT_EQ(ClassName(upgrade), "TLbSpeedButton");

  // The log holds the keyboard focus.
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread);
  EXPECT_EQ(thread.hwndFocus, log);

  // A disabled button ignores clicks.
  ClickCentre(upgrade);
  Dialog unexpected;
  EXPECT_FALSE(updater.FindDialog(unexpected, 300ms));

  updater.WaitForInstallationCheck();
  EXPECT_THAT(updater.LogLines(), ElementsAre(kNotInstalled));
  EXPECT_EQ(WindowText(upgrade), "Cautare...");
  EXPECT_FALSE(IsWindowEnabled(upgrade));
  Screenshot(main, "main-window-not-installed");
}

TEST_F(UpdaterTest, InstallationCheckReportsWhatItFinds) {
  struct Case {
    std::string ver;
    DWORD type;
    std::string shown;
    bool upToDate;
  };
  const Case cases[] = {
      {"1.0002", REG_SZ, "1.0002", false}, {"1.0003", REG_SZ, "1.0003", true}, {"2", REG_SZ, "2", true},
      {"1.00030", REG_SZ, "1.0003", true}, {"abc", REG_SZ, "0", false},       {" ", REG_SZ, "0", false},
      {"1.0002", REG_EXPAND_SZ, "1.0002", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("VER '" + c.ver + "'");
    SetTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "CALE", folder_);
    SetTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "VER", c.ver, c.type);
    UpdaterProcess updater(paths.updater);
    updater.WaitForInstallationCheck();
    std::vector<std::string> expected{"Cale Velna 2025   : " + folder_, "Versiune instalata : " + c.shown};
    if (c.upToDate) expected.push_back(kUpToDate);
    EXPECT_EQ(updater.LogLines(), expected);
    EXPECT_EQ(WindowText(updater.Control(kButton2Id)), kUpgradeCaption);
    EXPECT_TRUE(IsWindowEnabled(updater.Control(kButton2Id)));
    if (c.ver == "1.0002" && c.type == REG_SZ) Screenshot(updater.MainWindow(), "main-window-installed");
  }
}

// As a user sees it: the upgrade button shows its whole caption, in the
// bitmap "MS Sans Serif" that the layout is made for. (Without Wine's own
// fonts in the prefix a wider font stands in, and the last digit is cut.)
TEST_F(UpdaterTest, UpgradeCaptionIsShownWhole) {
  Install("1.0002");
  UpdaterProcess updater(paths.updater);
  updater.WaitForInstallationCheck();
  const HWND upgrade = updater.Control(kButton2Id);
  ASSERT_EQ(WindowText(upgrade), kUpgradeCaption);

  // The caption's width in the buttons' font: 8-point bold MS Sans Serif at 96 dpi.
  ScopedWindowDc screen(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), 96);
  UniqueGdiObject font(CreateFontA(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
  ScopedSelectObject selectFont(screen.get(), font.get());
  char face[LF_FACESIZE] = {};
  GetTextFaceA(screen.get(), sizeof face, face);
  EXPECT_STREQ(face, "MS Sans Serif") << "the Wine prefix lacks Wine's own fonts";
  SIZE caption{};
  GetTextExtentPoint32A(screen.get(), kUpgradeCaption, static_cast<int>(std::strlen(kUpgradeCaption)), &caption);
  EXPECT_LE(caption.cx, ClientSize(upgrade).cx - 8) << "wider than the button within its 4-pixel margins";

  // The columns of the button that hold caption ink (black on the light face).
  std::this_thread::sleep_for(300ms);  // let it paint
  RECT area;
  GetWindowRect(upgrade, &area);
  const ScreenPixels pixels = CaptureScreen(area);
  int first = pixels.width, last = -1;
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      const COLORREF colour = pixels.At(x, y);
      if (GetRValue(colour) < 64 && GetGValue(colour) < 64 && GetBValue(colour) < 64) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  }
  // A cut caption loses at least its last digit: 6 pixels or more.
  EXPECT_GE(last - first + 1, caption.cx - 2) << "the caption is drawn cut: ink from x=" << first << " to " << last
                                             << ", the whole caption is " << caption.cx << " pixels wide";
}

TEST_F(UpdaterTest, VerOfTheWrongTypeReachesTheErrorReport) {
  SetTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "CALE", folder_);
  SetRawValue(HKEY_LOCAL_MACHINE, kRecordKey, "VER", REG_DWORD, std::string("\x13\x27\0\0", 4));
  UpdaterProcess updater(paths.updater);
  updater.MainWindow();
  const Dialog report = ExpectDialog(updater, "Actualizare Velna", "Invalid data type for 'VER'", IconKind::Stop);
  updater.CloseDialog(report);
  EXPECT_TRUE(updater.LogLines().empty());
  EXPECT_EQ(WindowText(updater.Control(kButton2Id)), "Cautare...");
  EXPECT_FALSE(IsWindowEnabled(updater.Control(kButton2Id)));
  Dialog again;
  EXPECT_FALSE(updater.FindDialog(again, 1500ms)) << "the check ran a second time";
  ExpectEscapeEndsIt(updater);
}

TEST_F(UpdaterTest, UpgradeReplacesTheProgramAndRecordsTheVersionEachPress) {
  Install("1.0002");
  UpdaterProcess updater(paths.updater);
  updater.WaitForInstallationCheck();
  const HWND upgrade = updater.Control(kButton2Id);
  const std::string expectedBytes = ReadFileBytes(paths.standinRelease);

  for (int press = 1; press <= 2; ++press) {
    SCOPED_TRACE("press " + std::to_string(press));
    ClickCentre(upgrade);
    const Dialog done = ExpectDialog(updater, "Information", kSuccess, IconKind::Information);
    // The log line and the record come before the dialog.
    EXPECT_EQ(updater.LogLines().back(), "Versiune actualizata.");
    EXPECT_EQ(ReadFileBytes(target_), expectedBytes);
    const RawValue ver = ReadRawValue(HKEY_LOCAL_MACHINE, kRecordKey, "VER");
    EXPECT_EQ(ver.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ver.bytes, std::string("1.0003\0", 7));
    // Modal: the main window takes no input meanwhile.
    EXPECT_FALSE(IsWindowEnabled(updater.MainWindow()));
    if (press == 1) Screenshot(done.window, "upgrade-done-dialog");
    updater.CloseDialog(done);
    EXPECT_TRUE(IsWindowEnabled(updater.MainWindow()));
  }
  EXPECT_THAT(updater.LogLines(), ElementsAre("Cale Velna 2025   : " + folder_, "Versiune instalata : 1.0002",
                                              "Versiune actualizata.", "Versiune actualizata."));
  EXPECT_THAT(FolderEntries(folder_), ElementsAre("V2025.exe"));
  EXPECT_EQ(WindowText(upgrade), kUpgradeCaption);
  EXPECT_TRUE(IsWindowEnabled(upgrade));

  // More lines than the log shows (seven): it scrolls to the newest, with the
  // caret at the end, and still shows no scroll bar.
  for (int press = 3; press <= 8; ++press) {
    ClickCentre(upgrade);
    Dialog done;
    ASSERT_TRUE(updater.FindDialog(done));
    updater.CloseDialog(done);
  }
  const HWND log = updater.Control(kMemo1Id);
  EXPECT_EQ(updater.LogLines().size(), 10u);
  EXPECT_GE(SendMessageA(log, EM_GETFIRSTVISIBLELINE, 0, 0), 4);
  const auto selection = static_cast<DWORD>(SendMessageA(log, EM_GETSEL, 0, 0));  // another process: no pointers
  EXPECT_EQ(LOWORD(selection), WindowText(log).size());  // the caret at the end
  EXPECT_FALSE(GetWindowLongA(log, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
}

TEST_F(UpdaterTest, FailedUpgradesLeaveProgramAndRecordAsTheyWere) {
  struct Case {
    const char* name;
    std::string message;
  };
  const std::string inUse = "Inchideti mai intai Velna 2025!";
  const std::string cannotWrite = "Nu pot extrage noul program!";
  for (const Case& c : {Case{"in use", inUse}, Case{"read-only", inUse}, Case{"folder missing", cannotWrite}}) {
    SCOPED_TRACE(c.name);
    Install("1.0002");
    const std::string oldBytes = ReadFileBytes(target_);
    UniqueFile held;
    if (c.name == std::string("in use")) {
      held.reset(CreateFileA(target_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(held);
    }
    if (c.name == std::string("read-only")) SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_READONLY);
    if (c.name == std::string("folder missing")) {
      SetTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "CALE", folder_ + "\\gone");
    }

    UpdaterProcess updater(paths.updater);
    updater.WaitForInstallationCheck();
    const auto logBefore = updater.LogLines();
    ClickCentre(updater.Control(kButton2Id));
    updater.CloseDialog(ExpectDialog(updater, "Error", c.message, IconKind::Stop));
    EXPECT_EQ(updater.LogLines(), logBefore);
    EXPECT_EQ(RecordText("VER"), "1.0002");
    held.reset();
    SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(target_), oldBytes);
    EXPECT_THAT(FolderEntries(folder_), ElementsAre("V2025.exe"));  // nothing stray, no folder made
    ExpectEscapeEndsIt(updater);
  }
}

// A box that opens while a button is held takes the mouse capture away: the
// press is over, the button looks as before, and a release over it after a
// press elsewhere clicks nothing.
TEST_F(UpdaterTest, ButtonThatLosesTheMouseCaptureIsNoLongerPressed) {
  SetTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "CALE", folder_);
  SetRawValue(HKEY_LOCAL_MACHINE, kRecordKey, "VER", REG_DWORD, std::string("\x13\x27\0\0", 4));
  UpdaterProcess updater(paths.updater);
  const HWND close = updater.Control(kLbSpeedButton1Id);
  MouseDown(close, POINT{20, 10});  // held when the check's error report opens
  Dialog report;
  ASSERT_TRUE(updater.FindDialog(report));
  MouseUp(close, POINT{-150, -100});  // let go far away
  updater.CloseDialog(report);

  // The inner edge is back in the face colour (pressed, it is the shadow colour).
  std::this_thread::sleep_for(300ms);
  RECT area;
  GetWindowRect(close, &area);
  const ScreenPixels pixels = CaptureScreen(area);
  EXPECT_EQ(pixels.At(1, pixels.height / 2), RGB(192, 192, 192));

  const RECT bounds = BoundsInParent(close);
  MouseDown(updater.Control(kPanel1Id), POINT{bounds.left - 20, bounds.top + 10});
  MouseUp(close, POINT{20, 10});
  ExpectStillRunning(updater);
  ExpectEscapeEndsIt(updater);
}

TEST_F(UpdaterTest, EveryWayOutEndsWithExitCodeZero) {
  struct Way {
    const char* name;
    void (*leave)(const UpdaterProcess&);
  };
  const Way ways[] = {
      {"Escape", [](const UpdaterProcess&) { PressKey(VK_ESCAPE); }},
      {"Shift+Escape", [](const UpdaterProcess&) { PressKey(VK_ESCAPE, {VK_SHIFT}); }},
      {"close button", [](const UpdaterProcess& u) { ClickCentre(u.Control(kLbSpeedButton1Id)); }},
      {"Alt+F4", [](const UpdaterProcess&) { PressKey(VK_F4, {VK_MENU}); }},
      {"close box", [](const UpdaterProcess& u) { PostMessageA(u.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"taskbar Close", [](const UpdaterProcess& u) {
         PostMessageA(GetWindow(u.MainWindow(), GW_OWNER), WM_SYSCOMMAND, SC_CLOSE, 0);
       }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    UpdaterProcess updater(paths.updater);
    updater.MainWindow();
    way.leave(updater);
    EXPECT_EQ(updater.WaitForExit(), 0u);
  }
}

TEST_F(UpdaterTest, OtherKeysAndClicksDoNotEndIt) {
  UpdaterProcess updater(paths.updater);
  const HWND close = updater.Control(kLbSpeedButton1Id);
  PressKey(VK_RETURN);
  PressKey('A');
  PressKey(VK_TAB);
  // Right button: nothing.
  MouseDown(close, POINT{20, 10}, MOUSEEVENTF_RIGHTDOWN);
  MouseUp(close, POINT{20, 10}, MOUSEEVENTF_RIGHTUP);
  // Pressed on the button, released outside it: no click.
  MouseDown(close, POINT{20, 10});
  MouseUp(close, POINT{-60, -40});
  ExpectStillRunning(updater);
  EXPECT_EQ(WindowText(updater.MainWindow()), kCaption);
}

TEST_F(UpdaterTest, ModalDialogBlocksTheMainWindow) {
  Install("1.0002");
  UpdaterProcess updater(paths.updater);
  updater.WaitForInstallationCheck();
  ClickCentre(updater.Control(kButton2Id));
  Dialog done;
  ASSERT_TRUE(updater.FindDialog(done));
  ClickCentre(updater.Control(kLbSpeedButton1Id));  // disabled meanwhile
  ExpectStillRunning(updater);
  PressKey(VK_ESCAPE);  // closes the dialog, not the updater
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(done.window); }));
  ExpectStillRunning(updater);
  ExpectEscapeEndsIt(updater);
}

TEST_F(UpdaterTest, ErrorReportAddsAFullStopByTheLastCharacter) {
  Install("1.0002");
  UpdaterProcess updater(paths.updaterWithFaults);
  updater.WaitForInstallationCheck();
  const std::pair<std::string, std::string> cases[] = {
      {"Disk error", "Disk error."},     {"Done.", "Done."},   {"Stop!", "Stop!"},
      {"Failed to set data for 'VER'", "Failed to set data for 'VER'"},
      {"Why?", "Why?."},                 {"Reason:", "Reason:."}, {"Code 5", "Code 5."},
      {"(see above)", "(see above)"},    {"a, b,", "a, b,"},   {"trailing ", "trailing "},
      {"dash-", "dash-"},                {"caf\xe9", "caf\xe9."},
  };
  for (const auto& [message, shown] : cases) {
    SCOPED_TRACE(message);
    SetFault("Button2Click", message);
    ClickCentre(updater.Control(kButton2Id));
    updater.CloseDialog(ExpectDialog(updater, "Actualizare Velna", shown, IconKind::Stop));
  }
  // The updater went on, and the failed handler did nothing else.
  EXPECT_TRUE(updater.Running());
  EXPECT_EQ(RecordText("VER"), "1.0002");
  EXPECT_EQ(updater.LogLines().size(), 2u);
}

TEST_F(UpdaterTest, NoTimerLeftIsReportedAndTheWindowStaysUsable) {
  SetFault("NoTimers", "1");
  Install("1.0002");
  UpdaterProcess updater(paths.updaterWithFaults);
  // Reported from the show handler, before the window is first visible; it
  // is shown all the same, with its caption.
  updater.CloseDialog(ExpectDialog(updater, "Actualizare Velna", "Not enough timers available.", IconKind::Stop));
  EXPECT_EQ(WindowText(updater.MainWindow()), kCaption);
  std::this_thread::sleep_for(1500ms);  // the check never runs
  EXPECT_TRUE(updater.LogLines().empty());
  EXPECT_FALSE(IsWindowEnabled(updater.Control(kButton2Id)));
  ClickCentre(updater.Control(kLbSpeedButton1Id));
  EXPECT_EQ(updater.WaitForExit(), 0u);
}

// An error before the message loop runs, or memory running out, is fatal:
// "Exception %s in module %s at %p." with the error's own kind and the
// address as eight (or, in the 64-bit twin, sixteen) upper-case hex digits,
// then the message; exit code 1.
TEST_F(UpdaterTest, StartupFailureIsFatalWithExitCodeOne) {
  struct Case {
    const char* fault;
    const char* kind;
    const char* message;
  };
  for (const Case& c : {Case{"Startup", "EOSError", "Cannot start"}, Case{"OutOfMemory", "EOutOfMemory", "Out of memory"}}) {
    SCOPED_TRACE(c.fault);
    DeleteKeyTree(HKEY_CURRENT_USER, kFaultsKey);
    SetFault(c.fault, c.message);
    UpdaterProcess updater(paths.updaterWithFaults);
    Dialog fatal;
    ASSERT_TRUE(updater.FindDialog(fatal));
    EXPECT_EQ(fatal.caption, "Application Error");
    const std::string module = paths.updaterWithFaults.substr(paths.updaterWithFaults.find_last_of("\\/") + 1);
    const std::string digits = "[0-9A-F]{" + std::to_string(2 * sizeof(void*)) + "}";
    EXPECT_TRUE(std::regex_match(fatal.text, std::regex(std::string("Exception ") + c.kind + " in module " + module +
                                                        " at " + digits + "\\.\n" + c.message)))
        << fatal.text;
    updater.CloseDialog(fatal);
    EXPECT_EQ(updater.WaitForExit(), 1u);
  }
}

TEST_F(UpdaterTest, VersionsKeepTheFullStopUnderADecimalCommaLocale) {
  const ChangedSetting decimal(kInternationalKey, "sDecimal");
  const ChangedSetting date(kInternationalKey, "sDate");
  SetTextValue(HKEY_CURRENT_USER, kInternationalKey, "sDecimal", ",");
  SetTextValue(HKEY_CURRENT_USER, kInternationalKey, "sDate", "/");
  Install("1.0002");
  {
    UpdaterProcess updater(paths.updater);
    updater.WaitForInstallationCheck();
    EXPECT_EQ(WindowText(updater.MainWindow()), kCaption);
    EXPECT_EQ(updater.LogLines().at(1), "Versiune instalata : 1.0002");
    EXPECT_EQ(WindowText(updater.Control(kButton2Id)), kUpgradeCaption);

    // A change of the regional settings while it runs is not followed.
    SetTextValue(HKEY_CURRENT_USER, kInternationalKey, "sDecimal", ";");
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    ClickCentre(updater.Control(kButton2Id));
    updater.CloseDialog(ExpectDialog(updater, "Information", kSuccess, IconKind::Information));
    EXPECT_EQ(RecordText("VER"), "1.0003");
    ExpectEscapeEndsIt(updater);
  }
}

// On another resolution the window font is 8 points (16 pixels high at 144
// dpi, 13 at 120), and the client area and every control grow by the ratio
// of its text height to 13: MS Sans Serif is 20 pixels high at 144 dpi, 16 at 120.
TEST_F(UpdaterTest, ScalesWithTheScreenResolution) {
  constexpr char kDesktopKey[] = "Control Panel\\Desktop";
  const ChangedSetting dpi(kDesktopKey, "LogPixels");
  struct Case {
    DWORD dpi;
    int textHeight;
    SIZE client;
  };
  for (const Case& c : {Case{144, 20, {678, 275}}, Case{120, 16, {543, 220}}}) {
    SCOPED_TRACE(std::to_string(c.dpi) + " dpi");
    SetRawValue(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD,
                std::string(reinterpret_cast<const char*>(&c.dpi), 4));
    UpdaterProcess updater(paths.updater);
    const HWND main = updater.MainWindow();
    EXPECT_EQ(ClientSize(main).cx, c.client.cx);
    EXPECT_EQ(ClientSize(main).cy, c.client.cy);
    const auto expectNear = [&](long actual, int at96) { EXPECT_NEAR(actual, at96 * c.textHeight / 13.0, 1.0); };
    const RECT log = BoundsInParent(updater.Control(kMemo1Id));
    expectNear(log.left, 16);
    expectNear(log.right - log.left, 393);
    const RECT close = BoundsInParent(updater.Control(kLbSpeedButton1Id));
    expectNear(close.left, 300);
    expectNear(close.bottom - close.top, 31);
    Screenshot(main, "main-window-" + std::to_string(c.dpi) + "-dpi");
    ExpectEscapeEndsIt(updater);
  }
}

// Started from a folder where DLLs that Windows programs commonly look for
// have been planted (a Downloads folder, say), the updater loads none of them.
TEST_F(UpdaterTest, LoadsNoDllPlantedBesideIt) {
  const char* planted[] = {"version.dll", "uxtheme.dll", "dwmapi.dll", "cryptbase.dll", "winmm.dll",
                           "msimg32.dll", "userenv.dll", "profapi.dll", "comctl32.dll", "propsys.dll"};
  const std::string plantedBytes = ReadFileBytes(paths.plantedDll);
  for (const char* name : planted) WriteFileBytes(folder_ + "\\" + name, plantedBytes);

  // Wine would take its own built-in DLLs first; make it take a copy found on
  // the search path, as Windows does, so that the search order decides. Not
  // for version.dll: Wine's own user32 imports it (Windows' does not), which
  // would load a planted copy before any code of ours runs.
  constexpr char kOverrides[] = "Software\\Wine\\DllOverrides";
  const auto wineName = [](const std::string& dll) { return dll.substr(0, dll.size() - 4); };
  for (const char* name : planted) {
    if (std::string(name) != "version.dll") SetTextValue(HKEY_CURRENT_USER, kOverrides, wineName(name), "native,builtin");
  }
  struct RestoreOverrides {
    const char* const* names;
    std::size_t count;
    ~RestoreOverrides() {
      for (std::size_t i = 0; i < count; ++i) {
        const std::string name(names[i]);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", name.substr(0, name.size() - 4).c_str());
      }
    }
  } restore{planted, std::size(planted)};

  // The control: a program with the ordinary search order picks the planted copy up.
  WriteFileBytes(folder_ + "\\naive.exe", ReadFileBytes(paths.naiveLoader));
  {
    UpdaterProcess naive(folder_ + "\\naive.exe");
    naive.WaitForExit();
  }
  ASSERT_TRUE(GetFileAttributesA((folder_ + "\\dwmapi.dll.loaded").c_str()) != INVALID_FILE_ATTRIBUTES)
      << "the planted DLL is not picked up even without protection: this test would prove nothing";
  DeleteFileA((folder_ + "\\dwmapi.dll.loaded").c_str());

  WriteFileBytes(folder_ + "\\Upgrade.exe", ReadFileBytes(paths.updater));
  Install("1.0002");
  {
    UpdaterProcess updater(folder_ + "\\Upgrade.exe");
    updater.WaitForInstallationCheck();
    ClickCentre(updater.Control(kButton2Id));  // the upgrade and its dialog, too
    Dialog done;
    ASSERT_TRUE(updater.FindDialog(done));
    updater.CloseDialog(done);
    ExpectEscapeEndsIt(updater);
  }
  for (const auto& name : FolderEntries(folder_)) {
    EXPECT_EQ(name.find(".loaded"), std::string::npos) << name << ": a planted DLL was loaded";
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 8) {
    std::fprintf(stderr, "usage: %s UPDATER UPDATER_WITH_FAULTS STANDIN_OLD STANDIN_RELEASE ARTIFACT_FOLDER PLANTED_DLL "
                 "NAIVE_LOADER\n", argv[0]);
    return 2;
  }
  paths = {argv[1], argv[2], argv[3], argv[4], argv[5], argv[6], argv[7]};
  CreateDirectoryA(paths.artifacts.c_str(), nullptr);
  return RUN_ALL_TESTS();
}
