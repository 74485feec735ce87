// The registry service against the system's own tools: what the service
// writes is what reg.exe reads, and what reg.exe writes (UTF-16 inside)
// comes back as the same UTF-8. Each test uses its own key below HKCU.
#include <gtest/gtest.h>
#include <process.h>

#include <atomic>
#include <functional>

#include "platform/OsError.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32TestSupport.h"

namespace {

using platform::RegValue;
using platform::RootKey;
using platform::ValueType;

std::atomic<unsigned> g_serial{0};

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    key_ = "Software\\PellmoreWin32Test\\" + std::to_string(_getpid()) + "-" +
           std::to_string(g_serial++);
    Reg().CreateKey(RootKey::CurrentUser, key_);
  }
  void TearDown() override {
    for (const auto& sub : Reg().SubKeyNames(RootKey::CurrentUser, key_))
      Reg().DeleteKey(RootKey::CurrentUser, key_ + "\\" + sub);
    Reg().DeleteKey(RootKey::CurrentUser, key_);
  }
  static platform::Registry& Reg() { return platform::registry(); }
  std::string RegPath() const { return "HKCU\\" + key_; }

  std::string key_;
};

TEST_F(Win32RegistryTest, WritesLandInTheSystemRegistryAsRegExeShowsThem) {
  RegValue expand;
  expand.type = ValueType::ExpandString;
  expand.text = "%SystemRoot%\\qdeng32";
  RegValue multi;
  multi.type = ValueType::MultiString;
  multi.multi = {"first", "second"};
  Reg().WriteValue(RootKey::CurrentUser, key_, "Text", RegValue::Str("Quenby Engine"));
  Reg().WriteValue(RootKey::CurrentUser, key_, "Count", RegValue::DWordValue(42));
  Reg().WriteValue(RootKey::CurrentUser, key_, "Path", expand);
  Reg().WriteValue(RootKey::CurrentUser, key_, "List", multi);
  Reg().WriteValue(RootKey::CurrentUser, key_, "Stamp", RegValue::Bin({0x01, 0xAB, 0x00, 0xFF}));
  Reg().WriteValue(RootKey::CurrentUser, key_, "", RegValue::Str("default"));
  Reg().Flush(RootKey::CurrentUser, key_);

  const auto result = win32test::RunCommand("reg query \"" + RegPath() + "\"");
  ASSERT_EQ(result.exitCode, 0) << result.output;
  const auto rows = win32test::ParseRegQuery(result.output);
  struct Expect {
    const char* name;
    const char* type;
    const char* data;
  };
  const Expect expected[] = {
      {"Text", "REG_SZ", "Quenby Engine"},
      {"Count", "REG_DWORD", "0x2a"},
      {"Path", "REG_EXPAND_SZ", "%SystemRoot%\\qdeng32"},
      {"List", "REG_MULTI_SZ", "first\\0second"},
      {"Stamp", "REG_BINARY", "01AB00FF"},
      {"(Default)", "REG_SZ", "default"},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    bool found = false;
    for (const auto& row : rows) {
      if (row.name != e.name) continue;
      found = true;
      EXPECT_EQ(row.type, e.type);
      EXPECT_EQ(row.data, e.data);
    }
    EXPECT_TRUE(found) << result.output;
  }
}

TEST_F(Win32RegistryTest, ReadsWhatRegExeWroteAsUtf8) {
  struct Case {
    const char* what;
    std::string args;
    const char* name;
    RegValue value;
  };
  const Case cases[] = {
      {"ASCII text", "/v Plain /t REG_SZ /d \"C:\\Program Files\\Quenby\"", "Plain",
       RegValue::Str("C:\\Program Files\\Quenby")},
      {"accented text",
       "/v Accents /t REG_SZ /d \"Gr\xC3\xBC\xC3\x9F"
       "e\"",
       "Accents",
       RegValue::Str("Gr\xC3\xBC\xC3\x9F"
                     "e")},
      {"Chinese text", "/v Chinese /t REG_SZ /d \"\xE6\x95\xB0\xE6\x8D\xAE\xE5\xBA\x93\"",
       "Chinese", RegValue::Str("\xE6\x95\xB0\xE6\x8D\xAE\xE5\xBA\x93")},
      {"double word", "/v Number /t REG_DWORD /d 305419896", "Number",
       RegValue::DWordValue(0x12345678)},
      {"bytes", "/v Bytes /t REG_BINARY /d 00FF10", "Bytes", RegValue::Bin({0x00, 0xFF, 0x10})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto result = win32test::RunCommand("reg add \"" + RegPath() + "\" " + c.args + " /f");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(Reg().ReadValue(RootKey::CurrentUser, key_, c.name), c.value);
  }
}

TEST_F(Win32RegistryTest, SubkeysMadeElsewhereListByUpperCaseName) {
  for (const char* name : {"beta", "Alpha", "_under", "gamma"}) {
    const auto result = win32test::RunCommand("reg add \"" + RegPath() + "\\" + name + "\" /f");
    ASSERT_EQ(result.exitCode, 0) << result.output;
  }
  // '_' (0x5F) sorts after the upper-case letters, before the lower-case ones.
  const std::vector<std::string> expected = {"Alpha", "beta", "gamma", "_under"};
  EXPECT_EQ(Reg().SubKeyNames(RootKey::CurrentUser, key_), expected);
}

TEST_F(Win32RegistryTest, ValuesListInCreationOrder) {
  for (const char* name : {"Zulu", "alpha", "Mike"})
    Reg().WriteValue(RootKey::CurrentUser, key_, name, RegValue::Str(name));
  const auto names = Reg().ValueNames(RootKey::CurrentUser, key_);
  if (platform::win32::WineVersion() && names != std::vector<std::string>{"Zulu", "alpha", "Mike"})
    GTEST_SKIP() << "Wine lists values alphabetically; Windows keeps creation order";
  EXPECT_EQ(names, (std::vector<std::string>{"Zulu", "alpha", "Mike"}));
}

TEST_F(Win32RegistryTest, RefusalsNameTheRegistryCall) {
  try {
    Reg().WriteValue(RootKey::CurrentUser, key_ + "\\missing", "x", RegValue::Str("y"));
    FAIL() << "writing into a missing key succeeded";
  } catch (const platform::OsError& e) {
    EXPECT_EQ(e.Call(), "RegOpenKeyExW");
    EXPECT_EQ(e.Code(), platform::kErrorFileNotFound);
  }
  EXPECT_FALSE(Reg().KeyExists(RootKey::CurrentUser, key_ + "\\missing"));

  // A NUL would make Windows address a shorter name: refused, nothing made.
  const std::string cut = key_ + std::string("\\Sub\0Other", 11);
  struct Case {
    const char* call;
    std::function<void()> action;
  };
  const Case cases[] = {
      {"RegCreateKeyExW", [&] { Reg().CreateKey(RootKey::CurrentUser, cut); }},
      {"RegSetValueExW",
       [&] {
         Reg().WriteValue(RootKey::CurrentUser, key_, std::string("Name\0x", 6),
                          RegValue::Str("v"));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    try {
      c.action();
      ADD_FAILURE() << "accepted";
    } catch (const platform::OsError& e) {
      EXPECT_EQ(e.Call(), c.call);
      EXPECT_EQ(e.Code(), platform::kErrorInvalidName);
    }
  }
  EXPECT_TRUE(Reg().SubKeyNames(RootKey::CurrentUser, key_).empty());
  EXPECT_TRUE(Reg().ValueNames(RootKey::CurrentUser, key_).empty());
  EXPECT_FALSE(Reg().KeyExists(RootKey::CurrentUser, cut));
  EXPECT_FALSE(Reg().DeleteKey(RootKey::CurrentUser, cut));
}

}  // namespace
