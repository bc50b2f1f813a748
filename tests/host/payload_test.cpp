// The payload steps on real files. This program carries two test payloads as
// the updater carries its own: VELNA/UPGRADE (300,000 bytes) and VELNA/EMPTY.
#include "host/payload.h"
#include "host/unique_handle.h"
#include "tests/support/win_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace test_support;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kHolderReady[] = "VelnaPayloadTestHolderReady";
constexpr char kHolderRelease[] = "VelnaPayloadTestHolderRelease";

std::string PayloadBytes(const char* name) {
  const HRSRC found = FindResourceA(nullptr, name, "VELNA");
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  return std::string(bytes, SizeofResource(nullptr, found));
}

// Another process that holds a file open with share mode 0, as a running
// main program holds its executable.
class FileHolder {
 public:
  explicit FileHolder(const std::string& path)
      : ready_(CreateEventA(nullptr, TRUE, FALSE, kHolderReady)), release_(CreateEventA(nullptr, TRUE, FALSE, kHolderRelease)) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\" --hold \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
      CloseHandle(started.hThread);
      process_.reset(started.hProcess);
    }
    WaitForSingleObject(ready_.get(), 10000);
  }
  ~FileHolder() {
    SetEvent(release_.get());
    WaitForSingleObject(process_.get(), 10000);
  }

 private:
  UniqueKernelHandle ready_, release_, process_;
};

int HoldFile(const char* path) {
  const UniqueFile held(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  const UniqueKernelHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, kHolderReady));
  const UniqueKernelHandle release(OpenEventA(SYNCHRONIZE, FALSE, kHolderRelease));
  if (!held) return 1;
  SetEvent(ready.get());
  WaitForSingleObject(release.get(), 30000);
  return 0;
}

class PayloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeTempFolder("velna-payload");
    target_ = folder_ + "\\V2025.exe";
  }
  void TearDown() override { RemoveTree(folder_); }

  PayloadInstallResult Install(const char* name = "UpGrade") {
    return ResourcePayloadInstaller().InstallPayload("Velna", name, target_);
  }

  std::string folder_;
  std::string target_;
  const std::string oldProgram_ = std::string("MZ old program\0\x90", 17);
};

TEST_F(PayloadTest, ExtractFindsTheResourceInAnyCaseAndWritesItByteForByte) {
  ASSERT_EQ(PayloadBytes("UPGRADE").size(), 300000u);
  EXPECT_TRUE(ExtractPayload("Velna", "UpGrade", target_));
  EXPECT_EQ(ReadFileBytes(target_), PayloadBytes("UPGRADE"));
  EXPECT_FALSE(ExtractPayload("Velna", "Missing", folder_ + "\\other.exe"));
  EXPECT_THAT(FolderEntries(folder_), ElementsAre("V2025.exe"));  // a missing resource makes no file
}

TEST_F(PayloadTest, InstallsOverNothingAndOverTheOldProgramTwiceAlike) {
  EXPECT_EQ(Install(), PayloadInstallResult::Installed);
  EXPECT_EQ(ReadFileBytes(target_), PayloadBytes("UPGRADE"));
  WriteFileBytes(target_, oldProgram_);
  EXPECT_EQ(Install(), PayloadInstallResult::Installed);
  EXPECT_EQ(Install(), PayloadInstallResult::Installed);
  EXPECT_EQ(ReadFileBytes(target_), PayloadBytes("UPGRADE"));
  EXPECT_THAT(FolderEntries(folder_), ElementsAre("V2025.exe"));
  EXPECT_EQ(GetFileAttributesA(target_.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(PayloadTest, EmptyPayloadGivesAnEmptyFile) {
  WriteFileBytes(target_, oldProgram_);
  EXPECT_EQ(Install("Empty"), PayloadInstallResult::Installed);
  EXPECT_THAT(ReadFileBytes(target_), IsEmpty());
}

TEST_F(PayloadTest, RefusedOrFailedInstallsLeaveTheOldProgramIntact) {
  struct Case {
    const char* name;
    PayloadInstallResult expected;
  };
  for (const Case c : {Case{"missing resource", PayloadInstallResult::Failed},
                       Case{"in use", PayloadInstallResult::TargetInUse},
                       Case{"read-only", PayloadInstallResult::TargetInUse}}) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(target_, oldProgram_);
    const std::string name = c.name;
    PayloadInstallResult result;
    if (name == "in use") {
      FileHolder holder(target_);
      result = Install();
    } else if (name == "read-only") {
      SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_READONLY);
      result = Install();
      EXPECT_TRUE(GetFileAttributesA(target_.c_str()) & FILE_ATTRIBUTE_READONLY);
      SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
    } else {
      result = Install("Missing");
    }
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(ReadFileBytes(target_), oldProgram_);
    EXPECT_THAT(FolderEntries(folder_), ElementsAre("V2025.exe"));
  }
}

TEST_F(PayloadTest, MissingFolderOrDirectoryAtTheTargetCannotBeWritten) {
  target_ = folder_ + "\\gone\\V2025.exe";
  EXPECT_EQ(Install(), PayloadInstallResult::Failed);
  EXPECT_THAT(FolderEntries(folder_), IsEmpty());  // no folder made

  target_ = folder_ + "\\V2025.exe";
  CreateDirectoryA(target_.c_str(), nullptr);
  EXPECT_EQ(Install(), PayloadInstallResult::Failed);
  EXPECT_TRUE(GetFileAttributesA(target_.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_THAT(FolderEntries(folder_), ElementsAre("V2025.exe"));
}

// A folder where this user may create, rename and delete nothing (Program
// Files for a standard user): the old file cannot be replaced, and that is
// known before the payload is written. VELNA_PROTECTED_FOLDER names such a
// folder, made by the test run, holding an old V2025.exe.
TEST_F(PayloadTest, ProtectedFolderMeansTheProgramCannotBeReplaced) {
  char protectedFolder[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("VELNA_PROTECTED_FOLDER", protectedFolder, MAX_PATH)) {
    GTEST_SKIP() << "no protected folder (VELNA_PROTECTED_FOLDER)";
  }
  const std::string folder = protectedFolder;
  const std::string probe = folder + "\\probe";
  if (const UniqueFile created(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)); created) {
    DeleteFileA(probe.c_str());
    GTEST_SKIP() << "the folder is not protected here (chattr +i needs root)";
  }
  target_ = folder + "\\V2025.exe";
  const std::string oldBytes = ReadFileBytes(target_);
  EXPECT_EQ(Install(), PayloadInstallResult::TargetInUse);
  EXPECT_EQ(ReadFileBytes(target_), oldBytes);
  EXPECT_THAT(FolderEntries(folder), ElementsAre("V2025.exe"));
}

// The temporary file's name is the updater's own: a user's files beside the
// program, whatever their names, survive an upgrade and a refused one; and a
// target path near the system's limit of 259 characters is no obstacle.
TEST_F(PayloadTest, OtherFilesInTheFolderAreNeverTouchedAndLongPathsWork) {
  const std::string usersFile = "user's own file";
  for (const char* name : {"V2025.exe.new", "V2025.new", "V2025.tmp", "~vu00000"}) {
    WriteFileBytes(folder_ + "\\" + name, usersFile);
  }
  WriteFileBytes(target_, oldProgram_);
  EXPECT_EQ(Install(), PayloadInstallResult::Installed);
  SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Install(), PayloadInstallResult::TargetInUse);
  SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_THAT(FolderEntries(folder_), ElementsAre("V2025.exe", "V2025.exe.new", "V2025.new", "V2025.tmp", "~vu00000"));
  for (const auto& name : FolderEntries(folder_)) {
    if (name != "V2025.exe") {
      EXPECT_EQ(ReadFileBytes(folder_ + "\\" + name), usersFile) << name;
    }
  }

  // A folder of 248 characters, the most that CreateDirectoryA allows, and the program in it.
  constexpr std::size_t kDeepest = MAX_PATH - 12;
  std::string deep = folder_;
  while (deep.size() < kDeepest) {
    deep += "\\" + std::string(std::min<std::size_t>(100, kDeepest - deep.size() - 1), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
  }
  target_ = deep + "\\V2025.exe";
  ASSERT_EQ(target_.size(), 258u);
  WriteFileBytes(target_, oldProgram_);
  EXPECT_EQ(Install(), PayloadInstallResult::Installed);
  EXPECT_TRUE(ReadFileBytes(target_) == PayloadBytes("UPGRADE")) << "the payload is not in place";
  EXPECT_THAT(FolderEntries(deep), ElementsAre("V2025.exe"));
}

// A small file system that fills up during the write (VELNA_SMALL_DISK names
// a folder on a tmpfs of 256 KiB that the test run mounts).
TEST_F(PayloadTest, FullDiskKeepsTheOldProgramAndLeavesNoPartialFile) {
  char small[MAX_PATH] = {};
  ULARGE_INTEGER total{};
  if (!GetEnvironmentVariableA("VELNA_SMALL_DISK", small, MAX_PATH) ||
      !GetDiskFreeSpaceExA(small, nullptr, &total, nullptr) || total.QuadPart > 1024 * 1024) {
    GTEST_SKIP() << "no small disk mounted (VELNA_SMALL_DISK); mounting a tmpfs needs root";
  }
  RemoveTree(folder_);
  folder_ = small;
  for (const auto& name : FolderEntries(folder_)) DeleteFileA((folder_ + "\\" + name).c_str());
  target_ = folder_ + "\\V2025.exe";
  WriteFileBytes(target_, oldProgram_);
  EXPECT_EQ(Install(), PayloadInstallResult::Failed);
  EXPECT_EQ(ReadFileBytes(target_), oldProgram_);
  EXPECT_THAT(FolderEntries(folder_), ElementsAre("V2025.exe"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--hold") return HoldFile(argv[2]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
