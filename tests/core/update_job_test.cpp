#include "core/update_job.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The record as a map; a value named in `wrongType` fails as a value that
// is not text does.
class FakeRecord : public IInstallationRecord {
 public:
  std::map<std::string, std::string> values;
  std::string wrongType;
  bool writesFail = false;
  std::vector<std::string> calls;

  Result<std::string> ReadRecordValue(const std::string& name) override {
    calls.push_back("read " + name);
    if (name == wrongType) return Error{kRegistryException, "Invalid data type for '" + name + "'"};
    const auto found = values.find(name);
    return found == values.end() ? "" : found->second;
  }
  Status WriteRecordValue(const std::string& name, const std::string& value) override {
    calls.push_back("write " + name + "=" + value);
    if (writesFail) return Error{kRegistryException, "Failed to set data for '" + name + "'"};
    values[name] = value;
    return {};
  }
};

class FakePayload : public IPayloadInstaller {
 public:
  PayloadInstallResult result = PayloadInstallResult::Installed;
  std::vector<std::string> calls;
  PayloadInstallResult InstallPayload(const std::string& type, const std::string& name,
                                      const std::string& target) override {
    calls.push_back(type + "/" + name + " -> " + target);
    return result;
  }
};

// Records everything done to the window, in order, in one list.
class FakeView : public IUpdaterView {
 public:
  std::vector<std::string> events;
  std::vector<std::string> log;
  std::string caption = "Cautare...";
  bool enabled = false;

  void DisarmStartupTimer() override { events.push_back("disarm"); }
  void AppendLogLine(const std::string& line) override {
    events.push_back("log " + line);
    log.push_back(line);
  }
  void SetUpgradeButtonCaption(const std::string& text) override { caption = text; }
  void SetUpgradeButtonEnabled(bool on) override { enabled = on; }
  void ShowErrorDialog(const std::string& text) override { events.push_back("error " + text); }
  void ShowInformationDialog(const std::string& text) override { events.push_back("information " + text); }
};

class UpdateJobTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFolder.clear(); }
  FakeRecord record;
  FakePayload payload;
  FakeView view;
};

constexpr char kNotInstalled[] = "Programul Velna 2025 NU este instalat aici!";
constexpr char kUpToDate[] = "Aveti deja ultima versiune!";

TEST_F(UpdateJobTest, CheckReportsNotInstalledWhenVerIsEmptyOrMissing) {
  for (const char* folder : {"", "C:\\Velna"}) {
    FakeRecord r;
    FakeView v;
    if (*folder) r.values["CALE"] = folder;
    EXPECT_TRUE(RunInstallationCheck(r, v).ok());
    EXPECT_THAT(v.events, ElementsAre("disarm", std::string("log ") + kNotInstalled));
    EXPECT_THAT(r.calls, ElementsAre("read CALE", "read VER"));
    EXPECT_EQ(InstallFolder, folder);
    EXPECT_FALSE(v.enabled);
    EXPECT_EQ(v.caption, "Cautare...");
  }
}

TEST_F(UpdateJobTest, CheckShowsTheNormalisedVersionAndOffersTheRelease) {
  struct Case {
    const char* ver;
    const char* shown;
    bool upToDate;
  };
  const Case cases[] = {
      {"1.0003", "1.0003", true}, {"1.00030", "1.0003", true}, {"1.0002", "1.0002", false}, {"2", "2", true},
      {"abc", "0", false},        {" ", "0", false},           {"1.10", "1.1", true},       {"-3", "-3", false},
      {"1e15", "0", false},       {" 1.5 ", "1.5", true},      {"1,5", "0", false},         {"1.00035", "1.0004", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ver);
    FakeRecord r;
    FakeView v;
    r.values = {{"CALE", "C:\\Program Files\\Velna"}, {"VER", c.ver}};
    EXPECT_TRUE(RunInstallationCheck(r, v).ok());
    std::vector<std::string> expected{"Cale Velna 2025   : C:\\Program Files\\Velna",
                                      std::string("Versiune instalata : ") + c.shown};
    if (c.upToDate) expected.push_back(kUpToDate);
    EXPECT_EQ(v.log, expected);
    EXPECT_EQ(v.caption, "Actualizare la versiunea 1.0003");
    EXPECT_TRUE(v.enabled);
  }
}

TEST_F(UpdateJobTest, CheckShowsAnEmptyFolderAsRead) {
  record.values = {{"VER", "1.0002"}};
  EXPECT_TRUE(RunInstallationCheck(record, view).ok());
  EXPECT_THAT(view.log, ElementsAre("Cale Velna 2025   : ", "Versiune instalata : 1.0002"));
}

TEST_F(UpdateJobTest, CheckLeavesTheLogEmptyWhenARecordValueIsNotText) {
  for (const char* wrong : {"CALE", "VER"}) {
    FakeRecord r;
    FakeView v;
    r.values = {{"CALE", "C:\\Velna"}, {"VER", "1.0002"}};
    r.wrongType = wrong;
    EXPECT_STREQ(RunInstallationCheck(r, v).error().kind, kRegistryException);
    EXPECT_THAT(v.events, ElementsAre("disarm"));  // disarmed first: it never runs again
    EXPECT_FALSE(v.enabled);
    EXPECT_EQ(v.caption, "Cautare...");
  }
}

TEST_F(UpdateJobTest, UpgradeOutcomes) {
  struct Case {
    PayloadInstallResult result;
    std::vector<std::string> events;
    std::string verAfter;
  };
  const Case cases[] = {
      {PayloadInstallResult::Installed,
       {"log Versiune actualizata.", "information Velna 2025 a fost actualizat la versiunea 1.0003."},
       "1.0003"},
      {PayloadInstallResult::TargetInUse, {"error Inchideti mai intai Velna 2025!"}, "1.0002"},
      {PayloadInstallResult::Failed, {"error Nu pot extrage noul program!"}, "1.0002"},
  };
  for (const auto& c : cases) {
    FakeRecord r;
    FakePayload p;
    FakeView v;
    r.values = {{"VER", "1.0002"}};
    p.result = c.result;
    InstallFolder = "C:\\Velna";
    EXPECT_TRUE(RunUpgradeAction(r, p, v).ok());
    EXPECT_EQ(v.events, c.events);
    EXPECT_EQ(r.values["VER"], c.verAfter);
    EXPECT_THAT(p.calls, ElementsAre("Velna/UpGrade -> C:\\Velna\\V2025.exe"));
  }
}

TEST_F(UpdateJobTest, UpgradeWritesTheRecordAfterTheLogLineAndBeforeTheDialog) {
  InstallFolder = "C:\\Velna";
  EXPECT_TRUE(RunUpgradeAction(record, payload, view).ok());
  EXPECT_THAT(record.calls, ElementsAre("write VER=1.0003"));
  EXPECT_THAT(view.events, ElementsAre("log Versiune actualizata.",
                                       "information Velna 2025 a fost actualizat la versiunea 1.0003."));
}

TEST_F(UpdateJobTest, UpgradeWhoseRecordCannotBeWrittenKeepsTheLogLineAndShowsNoDialog) {
  record.writesFail = true;
  EXPECT_STREQ(RunUpgradeAction(record, payload, view).error().kind, kRegistryException);
  EXPECT_THAT(view.events, ElementsAre("log Versiune actualizata."));
}

TEST_F(UpdateJobTest, UpgradeJoinsTheTargetPathAsPlainText) {
  for (const auto& [folder, target] : {std::pair<std::string, std::string>{"", "\\V2025.exe"},
                                       {"C:\\Velna\\", "C:\\Velna\\\\V2025.exe"},
                                       {"D:\\a b", "D:\\a b\\V2025.exe"}}) {
    FakePayload p;
    InstallFolder = folder;
    EXPECT_TRUE(RunUpgradeAction(record, p, view).ok());
    EXPECT_THAT(p.calls, ElementsAre("Velna/UpGrade -> " + target));
  }
}

TEST_F(UpdateJobTest, EachPressRunsTheWholeActionAgain) {
  InstallFolder = "C:\\Velna";
  payload.result = PayloadInstallResult::TargetInUse;
  EXPECT_TRUE(RunUpgradeAction(record, payload, view).ok());
  payload.result = PayloadInstallResult::Installed;  // the user closed the main program
  EXPECT_TRUE(RunUpgradeAction(record, payload, view).ok());
  EXPECT_TRUE(RunUpgradeAction(record, payload, view).ok());
  EXPECT_EQ(payload.calls.size(), 3u);
  EXPECT_THAT(record.calls, ElementsAre("write VER=1.0003", "write VER=1.0003"));
  EXPECT_THAT(view.log, ElementsAre("Versiune actualizata.", "Versiune actualizata."));
  EXPECT_EQ(view.events.front(), "error Inchideti mai intai Velna 2025!");
}

}  // namespace
