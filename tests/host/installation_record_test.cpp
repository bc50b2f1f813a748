#include "host/installation_record.h"
#include "tests/support/win_test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace test_support;

constexpr char kParent[] = "Software\\VelnaHostTest";
constexpr char kKey[] = "Software\\VelnaHostTest\\105";

class InstallationRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteKeyTree(HKEY_LOCAL_MACHINE, kParent); }
  void TearDown() override { DeleteKeyTree(HKEY_LOCAL_MACHINE, kParent); }
  RegistryInstallationRecord record{HKEY_LOCAL_MACHINE, kKey};
};

// The message of a registry error, or "no error".
std::string ErrorOf(const Status& status) {
  if (status.ok()) return "no error";
  EXPECT_STREQ(status.error().kind, kRegistryException);
  return status.error().message;
}

TEST_F(InstallationRecordTest, ReadsTextValuesAndRejectsOtherTypes) {
  struct Case {
    const char* name;
    DWORD type;
    std::string bytes;
    std::optional<std::string> text;  // nothing: "Invalid data type"
  };
  const Case cases[] = {
      {"plain", REG_SZ, std::string("C:\\Velna\0", 9), "C:\\Velna"},
      {"expand", REG_EXPAND_SZ, std::string("%ProgramFiles%\\Velna\0", 21), "%ProgramFiles%\\Velna"},
      {"nul inside", REG_SZ, std::string("C:\\Ve\0lna\0", 10), "C:\\Ve"},
      {"no closing nul", REG_SZ, "1.0002", "1.0002"},
      {"empty text", REG_SZ, std::string(), ""},
      {"empty binary", REG_BINARY, std::string(), ""},
      {"dword", REG_DWORD, std::string("\x13\x27\0\0", 4), std::nullopt},
      {"binary", REG_BINARY, "1.0002", std::nullopt},
      {"multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5), std::nullopt},
      {"qword", REG_QWORD, std::string(8, '\1'), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetRawValue(HKEY_LOCAL_MACHINE, kKey, "VER", c.type, c.bytes);
    if (c.text) {
      EXPECT_EQ(record.ReadRecordValue("VER").value(), *c.text);
    } else {
      EXPECT_EQ(ErrorOf(record.ReadRecordValue("VER").status()), "Invalid data type for 'VER'");
    }
  }
}

TEST_F(InstallationRecordTest, MissingKeyOrValueReadsAsEmptyAndCreatesNothing) {
  EXPECT_EQ(record.ReadRecordValue("CALE").value(), "");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kParent));
  SetTextValue(HKEY_LOCAL_MACHINE, kKey, "CALE", "C:\\Velna");
  EXPECT_EQ(record.ReadRecordValue("VER").value(), "");
}

TEST_F(InstallationRecordTest, ValueNamesMatchInAnyCase) {
  SetTextValue(HKEY_LOCAL_MACHINE, kKey, "CALE", "C:\\Velna");
  SetTextValue(HKEY_LOCAL_MACHINE, kKey, "Ver", "1.0002");
  EXPECT_EQ(record.ReadRecordValue("cale").value(), "C:\\Velna");
  EXPECT_EQ(record.ReadRecordValue("VER").value(), "1.0002");
}

TEST_F(InstallationRecordTest, WriteStoresTextWithItsNulAndCreatesTheKey) {
  EXPECT_TRUE(record.WriteRecordValue("VER", "1.0003").ok());  // key and parent missing
  RawValue stored = ReadRawValue(HKEY_LOCAL_MACHINE, kKey, "VER");
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(stored.bytes, std::string("1.0003\0", 7));

  SetRawValue(HKEY_LOCAL_MACHINE, kKey, "VER", REG_DWORD, std::string("\x13\x27\0\0", 4));
  EXPECT_TRUE(record.WriteRecordValue("VER", "1.0003").ok());  // replaces a value of another type
  stored = ReadRawValue(HKEY_LOCAL_MACHINE, kKey, "VER");
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(stored.bytes.size(), 7u);

  EXPECT_TRUE(record.WriteRecordValue("VER", "").ok());
  EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, kKey, "VER").bytes, std::string(1, '\0'));
  EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, kKey, "CALE").exists, false);  // never written
}

TEST_F(InstallationRecordTest, WriteThatCannotBeMadeRaisesWithTheValueName) {
  // A root that is no open key: neither opened nor created.
  RegistryInstallationRecord unreachable(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7ffffff0)), kKey);
  EXPECT_EQ(ErrorOf(unreachable.WriteRecordValue("VER", "1.0003")), "Failed to set data for 'VER'");
  EXPECT_EQ(unreachable.ReadRecordValue("VER").value(), "");
}

}  // namespace
