// The registry service's contract, the same on the simulated machine and on
// Windows: keys with parents, names without case, enumeration order, every
// value type, and the refusals with their Windows codes. Each test works
// below its own key of HKEY_CURRENT_USER and removes it afterwards.
#include <atomic>

#include "platform/OsError.h"
#include "support/ContractMachine.h"

namespace {

using platform::RegValue;
using platform::RootKey;
using platform::ValueType;

constexpr RootKey HKCU = RootKey::CurrentUser;
std::atomic<unsigned> g_key{0};

class RegistryContract : public ContractMachine {
 protected:
  void SetUp() override {
    ContractMachine::SetUp();
    base_ = "Software\\PellmoreContract\\Case" + std::to_string(g_key++);
    Reg().CreateKey(HKCU, base_);
  }
  void TearDown() override {
    if (platform::HasCurrent()) {
      DeleteTree(HKCU, base_);
      for (const auto& path : cleanup_) DeleteTree(RootKey::ClassesRoot, path);
    }
    ContractMachine::TearDown();
  }
  std::string K(std::string_view sub = {}) const {
    return sub.empty() ? base_ : base_ + "\\" + std::string(sub);
  }
  void DeleteTree(RootKey root, const std::string& path) {
    for (const auto& sub : Reg().SubKeyNames(root, path)) DeleteTree(root, path + "\\" + sub);
    Reg().DeleteKey(root, path);
  }

  std::string base_;
  std::vector<std::string> cleanup_;
};

RegValue Typed(ValueType type) {
  RegValue v;
  v.type = type;
  return v;
}

TEST_F(RegistryContract, KeysAreCreatedWithTheirParentsAndFoundWithoutCase) {
  Reg().CreateKey(HKCU, "\\" + K("Quenby\\Database Engine\\Settings"));
  EXPECT_TRUE(Reg().KeyExists(HKCU, K("QUENBY\\database engine\\settings")));
  EXPECT_TRUE(Reg().KeyExists(HKCU, "\\" + K("Quenby")));
  EXPECT_FALSE(Reg().KeyExists(HKCU, K("Quenby\\Missing")));
  EXPECT_NO_THROW(Reg().CreateKey(HKCU, K("QUENBY")));  // exists: fine, keeps its name
  EXPECT_EQ(Reg().SubKeyNames(HKCU, K()), std::vector<std::string>{"Quenby"});
}

TEST_F(RegistryContract, SubkeysEnumerateByUpperCaseName) {
  for (const char* name : {"b", "A", "a1", "Z", "m"}) Reg().CreateKey(HKCU, K(name));
  EXPECT_EQ(Reg().SubKeyNames(HKCU, K()), (std::vector<std::string>{"A", "a1", "b", "m", "Z"}));
}

TEST_F(RegistryContract, EveryValueTypeReadsBackAsWritten) {
  RegValue expand = Typed(ValueType::ExpandString);
  expand.text = "%SystemRoot%\\system32";
  RegValue multi = Typed(ValueType::MultiString);
  multi.multi = {"first", "\xE4\xB8\xAD\xE6\x96\x87", "third"};
  const std::pair<std::string, RegValue> values[] = {
      {"Path", RegValue::Str("C:\\Program Files\\Quenby")},
      {"", RegValue::Str("default value")},
      {"Chinese \xE4\xB8\xAD", RegValue::Str("\xE6\x96\x87\xE4\xBB\xB6")},
      {"Empty", RegValue::Str("")},
      {"Count", RegValue::DWordValue(0xFFFFFFFEu)},
      {"Date", RegValue::Bin({0, 0, 0, 0, 0, 0x40, 0xE1, 0x40})},
      {"NoBytes", RegValue::Bin({})},
      {"Expand", expand},
      {"Multi", multi},
  };
  for (const auto& [name, value] : values) Reg().WriteValue(HKCU, K(), name, value);
  for (const auto& [name, value] : values) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Reg().ReadValue(HKCU, K(), name), value);
  }
  EXPECT_EQ(Reg().ValueNames(HKCU, K()).size(), std::size(values));
}

TEST_F(RegistryContract, ValueNamesFoldCaseAndKeepTheirFirstSpelling) {
  Reg().WriteValue(HKCU, K(), "UseCount", RegValue::DWordValue(1));
  Reg().WriteValue(HKCU, K(), "USECOUNT", RegValue::DWordValue(2));
  EXPECT_EQ(Reg().ValueNames(HKCU, K()), std::vector<std::string>{"UseCount"});
  EXPECT_EQ(Reg().ReadValue(HKCU, K(), "usecount"), RegValue::DWordValue(2));
  Reg().WriteValue(HKCU, K(), "usecount", RegValue::Str("now text"));
  EXPECT_EQ(Reg().ReadValue(HKCU, K(), "UseCount"), RegValue::Str("now text"));
}

TEST_F(RegistryContract, ValuesEnumerateInCreationOrderExceptOnWine) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine lists values alphabetically";
#endif
  for (const char* name : {"zeta", "Alpha", "mid"})
    Reg().WriteValue(HKCU, K(), name, RegValue::Str(name));
  EXPECT_EQ(Reg().ValueNames(HKCU, K()), (std::vector<std::string>{"zeta", "Alpha", "mid"}));
}

TEST_F(RegistryContract, DeletionsRemoveExactlyWhatTheyName) {
  Reg().CreateKey(HKCU, K("Parent\\Child"));
  Reg().WriteValue(HKCU, K("Parent"), "a", RegValue::Str("1"));
  Reg().WriteValue(HKCU, K("Parent"), "b", RegValue::Str("2"));
  EXPECT_TRUE(Reg().DeleteValue(HKCU, K("Parent"), "A"));
  EXPECT_FALSE(Reg().DeleteValue(HKCU, K("Parent"), "a"));
  EXPECT_EQ(Reg().ValueNames(HKCU, K("Parent")), std::vector<std::string>{"b"});
  EXPECT_TRUE(Reg().DeleteKey(HKCU, K("PARENT\\CHILD")));
  EXPECT_FALSE(Reg().DeleteKey(HKCU, K("Parent\\Child")));
  EXPECT_TRUE(Reg().DeleteKey(HKCU, K("Parent")));
  EXPECT_FALSE(Reg().KeyExists(HKCU, K("Parent")));
}

TEST_F(RegistryContract, RefusalsCarryWindowsCodesAndQueriesAnswerAbsent) {
  Reg().CreateKey(HKCU, K("Parent\\Child"));
  EXPECT_EQ(CodeOf([&] { Reg().WriteValue(HKCU, K("Missing"), "v", RegValue::Str("x")); }),
            platform::kErrorFileNotFound);
  EXPECT_EQ(CodeOf([&] { Reg().DeleteKey(HKCU, K("Parent")); }), platform::kErrorAccessDenied);
  EXPECT_TRUE(Reg().KeyExists(HKCU, K("Parent\\Child"))) << "a refused delete deletes nothing";
  EXPECT_FALSE(Reg().ReadValue(HKCU, K("Missing"), "v").has_value());
  EXPECT_FALSE(Reg().ReadValue(HKCU, K("Parent"), "missing").has_value());
  EXPECT_TRUE(Reg().SubKeyNames(HKCU, K("Missing")).empty());
  EXPECT_TRUE(Reg().ValueNames(HKCU, K("Missing")).empty());
  EXPECT_NO_THROW(Reg().Flush(HKCU, K("Missing")));
}

TEST_F(RegistryContract, ClassesRootIsTheClassesKeyOfLocalMachine) {
  const std::string ext = ".pellmorecontract" + std::to_string(g_key++);
  cleanup_.push_back(ext);
  Reg().CreateKey(RootKey::ClassesRoot, ext);
  Reg().WriteValue(RootKey::ClassesRoot, ext, "", RegValue::Str("PellmoreContractFile"));
  Reg().Flush(RootKey::ClassesRoot, ext);
  EXPECT_EQ(Reg().ReadValue(RootKey::LocalMachine, "SOFTWARE\\Classes\\" + ext, ""),
            RegValue::Str("PellmoreContractFile"));
}

}  // namespace
