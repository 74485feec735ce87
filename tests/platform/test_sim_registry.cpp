// The simulated registry on disk: the hive file form of every value type,
// name and order rules, corrupt hives and journals (named by file and line,
// the last good hive kept), and the journal's life: cheap appends, torn and
// stale journals, folding into the hive.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/OsError.h"
#include "platform/sim/HiveModel.h"
#include "platform/sim/HiveReader.h"
#include "platform/sim/SimRegistry.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using platform::OsError;
using platform::RegValue;
using platform::RootKey;
using platform::ValueType;
using platform::sim::HiveError;
using platform::sim::OpenSimRegistry;

namespace {

constexpr RootKey HKLM = RootKey::LocalMachine;

using testsupport::ReadHostFile;
using testsupport::WriteHostFile;

class SimRegistryTest : public ::testing::Test {
 protected:
  std::unique_ptr<platform::Registry> Open() { return OpenSimRegistry(dir_.string()); }
  fs::path File(const char* suffix) const {
    return dir_ / (std::string("HKEY_LOCAL_MACHINE") + suffix);
  }

  testsupport::TempDir top_{"pellmore-registry"};
  fs::path dir_ = top_ / "registry";
};

RegValue Typed(ValueType type) {
  RegValue v;
  v.type = type;
  return v;
}

TEST_F(SimRegistryTest, EveryValueTypeSurvivesTheHiveFile) {
  RegValue expand = Typed(ValueType::ExpandString);
  expand.text = "%SystemRoot%\\system32";
  RegValue multi = Typed(ValueType::MultiString);
  multi.multi = {"first", "", "\xE4\xB8\xAD\xE6\x96\x87"};
  RegValue emptyMulti = Typed(ValueType::MultiString);
  RegValue oneEmpty = Typed(ValueType::MultiString);
  oneEmpty.multi = {""};
  std::vector<uint8_t> big(300);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
  const std::vector<std::pair<std::string, RegValue>> values = {
      {"Path", RegValue::Str("C:\\Program Files\\\"Quenby\"")},
      {"", RegValue::DWordValue(42)},
      {"Max", RegValue::DWordValue(0xFFFFFFFFu)},
      {"Lines", RegValue::Str("one\r\ntwo")},
      {"Nul", RegValue::Str(std::string("a\0b", 3))},
      {"Chinese \xE4\xB8\xAD", RegValue::Str("\xE6\x96\x87\xE4\xBB\xB6")},
      {"Expand", expand},
      {"Multi", multi},
      {"EmptyMulti", emptyMulti},
      {"OneEmpty", oneEmpty},
      {"Empty", RegValue::Bin({})},
      {"Big", RegValue::Bin(big)},
      {"Quote\"Back\\slash", RegValue::Str("")},
  };
  {
    auto reg = Open();
    reg->CreateKey(HKLM, "\\SOFTWARE\\Quenby");
    for (const auto& [name, value] : values) reg->WriteValue(HKLM, "SOFTWARE\\Quenby", name, value);
    reg->Flush(HKLM, "SOFTWARE\\Quenby");
  }
  EXPECT_EQ(fs::file_size(File(".journal")), 0u) << "flush folds the journal into the hive";
  const std::string text = ReadHostFile(File(".reg"));
  EXPECT_NE(text.find("\"Path\"=\"C:\\\\Program Files\\\\\\\"Quenby\\\"\"\n"), text.npos) << text;
  EXPECT_NE(text.find("@=dword:0000002a\n"), text.npos);
  EXPECT_NE(text.find("\"Multi\"=hex(7):66,69,72,73,74,00,00,e4,b8,ad,e6,96,87,00,00\n"),
            text.npos);
  EXPECT_NE(text.find("\"EmptyMulti\"=hex(7):00\n"), text.npos);
  EXPECT_NE(text.find("\"Lines\"=hex(1):6f,6e,65,0d,0a,74,77,6f,00\n"), text.npos);

  auto reg = Open();
  std::vector<std::string> expectedNames;
  for (const auto& [name, value] : values) {
    SCOPED_TRACE(name);
    expectedNames.push_back(name);
    EXPECT_EQ(reg->ReadValue(HKLM, "SOFTWARE\\Quenby", name), value);
  }
  EXPECT_EQ(reg->ValueNames(HKLM, "SOFTWARE\\Quenby"), expectedNames);
}

TEST_F(SimRegistryTest, NamesFoldCaseKeepTheirCaseAndEnumerateInWindowsOrder) {
  auto reg = Open();
  for (const char* k : {"b", "A", "_x", "a1", "Z"})
    reg->CreateKey(HKLM, std::string("Order\\") + k);
  reg->CreateKey(HKLM, "ORDER\\B");  // exists already: keeps "b"
  reg->WriteValue(HKLM, "order", "zeta", RegValue::Str("1"));
  reg->WriteValue(HKLM, "order", "Alpha", RegValue::Str("2"));
  reg->WriteValue(HKLM, "order", "mid", RegValue::Str("3"));
  reg->WriteValue(HKLM, "ORDER", "ZETA", RegValue::Str("4"));  // in place, name kept
  reg->DeleteValue(HKLM, "Order", "ALPHA");
  reg->WriteValue(HKLM, "Order", "alpha", RegValue::Str("5"));  // re-created: goes last

  const std::vector<std::string> keys = {"A", "a1", "b", "Z", "_x"};  // '_' sorts after 'Z'
  const std::vector<std::string> names = {"zeta", "mid", "alpha"};
  // The same through the journal (a second instance) and after folding.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "from the journal" : "from the folded hive");
    auto other = Open();
    EXPECT_EQ(other->SubKeyNames(HKLM, "\\ORDER\\"), keys);
    EXPECT_EQ(other->ValueNames(HKLM, "Order"), names);
    EXPECT_EQ(other->ReadValue(HKLM, "order", "Zeta")->text, "4");
    EXPECT_TRUE(other->KeyExists(HKLM, "oRdEr\\A1"));
    reg->Flush(HKLM, "Order");
  }
}

TEST_F(SimRegistryTest, ClassesRootIsTheClassesKeyOfLocalMachine) {
  auto reg = Open();
  reg->CreateKey(RootKey::ClassesRoot, "\\.qdb");
  reg->WriteValue(RootKey::ClassesRoot, ".qdb", "", RegValue::Str("QuenbyDatabase"));
  EXPECT_EQ(reg->ReadValue(HKLM, "SOFTWARE\\Classes\\.QDB", "")->text, "QuenbyDatabase");
  EXPECT_EQ(reg->SubKeyNames(RootKey::ClassesRoot, ""), std::vector<std::string>{".qdb"});
  EXPECT_FALSE(reg->KeyExists(RootKey::CurrentUser, "SOFTWARE\\Classes\\.qdb"));
}

TEST_F(SimRegistryTest, RefusedChangesRaiseWindowsCodesAndQueriesAnswerAbsent) {
  auto reg = Open();
  reg->CreateKey(HKLM, "A\\B");
  auto code = [&](auto&& call) -> uint32_t {
    try {
      call();
    } catch (const OsError& e) {
      return e.Code();
    }
    return 0;
  };
  EXPECT_EQ(code([&] { reg->WriteValue(HKLM, "Missing", "v", RegValue::Str("x")); }),
            platform::kErrorFileNotFound);
  EXPECT_EQ(code([&] { reg->DeleteKey(HKLM, "A"); }), platform::kErrorAccessDenied);
  EXPECT_EQ(code([&] { reg->DeleteKey(HKLM, "\\"); }), platform::kErrorAccessDenied);
  EXPECT_EQ(code([&] { reg->CreateKey(HKLM, "A\\" + std::string(256, 'k')); }),
            platform::kErrorInvalidParameter);
  EXPECT_EQ(code([&] { reg->CreateKey(HKLM, "A\\" + std::string(255, 'k')); }), 0u);
  EXPECT_EQ(code([&] { reg->CreateKey(HKLM, "A\\\\B"); }), platform::kErrorInvalidParameter);
  EXPECT_EQ(code([&] { reg->WriteValue(HKLM, "A", "two\nlines", RegValue::Str("x")); }),
            platform::kErrorInvalidParameter);
  EXPECT_FALSE(reg->DeleteKey(HKLM, "A\\Missing"));
  EXPECT_FALSE(reg->DeleteValue(HKLM, "A", "missing"));
  EXPECT_FALSE(reg->ReadValue(HKLM, "Missing", "v").has_value());
  EXPECT_TRUE(reg->SubKeyNames(HKLM, "Missing").empty());
  EXPECT_TRUE(reg->DeleteKey(HKLM, "a\\b"));
  EXPECT_EQ(reg->SubKeyNames(HKLM, "A").size(), 1u);
}

struct CorruptCase {
  const char* what;
  std::string text;
  size_t line;
  const char* reason;
};

TEST_F(SimRegistryTest, CorruptHivesNameFileAndLineAndKeepTheLastGoodHive) {
  const std::string head = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Good]\n";
  const CorruptCase cases[] = {
      {"empty file", "", 1, "empty file (a hive starts with \"REGEDIT4\")"},
      {"UTF-16 with its mark", std::string("\xFF\xFER\0E\0G\0", 8), 1, "UTF-16 text"},
      {"UTF-16 without a mark", std::string("R\0E\0G\0", 6), 1, "UTF-16 text"},
      {"other header", "REGEDIT5\n", 1, "\"REGEDIT4\" header expected"},
      {"unclosed section", head + "[HKEY_LOCAL_MACHINE\\a\n", 4, "without closing ']'"},
      {"other root", head + "[HKEY_USERS\\a]\n", 4, "not under HKEY_LOCAL_MACHINE"},
      {"empty key name", head + "[HKEY_LOCAL_MACHINE\\a\\\\b]\n", 4, "empty key name"},
      {"long key name", head + "[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]\n", 4,
       "longer than 255"},
      {"key deletion", head + "[-HKEY_LOCAL_MACHINE\\a]\n", 4, "key deletion"},
      {"value before section", "REGEDIT4\n\"a\"=\"b\"\n", 2, "before the first section"},
      {"garbage line", head + "hello\n", 4, "section header or value line expected"},
      {"trailing comma", head + "\"a\"=hex:01,\n", 4, "bad hex byte \"\""},
      {"missing =", head + "\"a\" \"b\"\n", 4, "'=' expected"},
      {"unclosed quote", head + "\"a\"=\"b\n", 4, "not closed"},
      {"bad escape", head + "\"a\"=\"b\\q\"\n", 4, "unknown escape"},
      {"text after string", head + "\"a\"=\"b\"c\n", 4, "after the closing quote"},
      {"bad dword", head + "\"a\"=dword:xyz\n", 4, "1 to 8 hex digits"},
      {"long dword", head + "\"a\"=dword:123456789\n", 4, "1 to 8 hex digits"},
      {"bad hex byte", head + "\"a\"=hex:01,0g\n", 4, "bad hex byte \"0g\""},
      {"hex(4) size", head + "\"a\"=hex(4):01,02\n", 4, "exactly 4 bytes"},
      {"unknown type", head + "\"a\"=hex(b):01\n", 4, "unsupported value type hex(b)"},
      {"value deletion", head + "\"a\"=-\n", 4, "value deletion"},
      {"continued at end", head + "\"a\"=hex:01,\\\n  02,\\\n", 4, "continued line"},
      {"error after continuation", head + "\"a\"=hex:01,\\\n  02\nbad\n", 6, "expected"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    WriteHostFile(File(".reg"), c.text);
    auto reg = Open();
    try {
      reg->ReadValue(HKLM, "Good", "x");
      ADD_FAILURE() << "no error";
    } catch (const HiveError& e) {
      EXPECT_EQ(e.File(), File(".reg").string());
      EXPECT_EQ(e.Line(), c.line);
      EXPECT_NE(e.Reason().find(c.reason), std::string::npos) << e.Reason();
      EXPECT_NE(e.Message().find(File(".reg").string()), std::string::npos);
    }
    EXPECT_THROW(reg->CreateKey(HKLM, "New"), HiveError);
    EXPECT_THROW(reg->Flush(HKLM, ""), HiveError);
    EXPECT_EQ(ReadHostFile(File(".reg")), c.text) << "the hive on disk is left alone";
  }
}

TEST_F(SimRegistryTest, CorruptJournalLineIsNamed) {
  fs::create_directories(dir_);
  WriteHostFile(File(".reg"), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n");
  const std::pair<std::string, size_t> journals[] = {
      {"PELLMORE-JOURNAL 0\n+\"K\\\\A\"\n=\"K\" \"v\"=dword:zz\n", 3},
      {"PELLMORE-JOURNAL 0\n-\"Missing\"\n", 2},  // a change that cannot have happened
      {"not a journal\n", 1},
  };
  for (const auto& [journal, line] : journals) {
    SCOPED_TRACE(journal);
    WriteHostFile(File(".journal"), journal);
    try {
      Open()->KeyExists(HKLM, "K");
      ADD_FAILURE() << "no error";
    } catch (const HiveError& e) {
      EXPECT_EQ(e.File(), File(".journal").string());
      EXPECT_EQ(e.Line(), line);
    }
  }
}

TEST(HiveReader, EveryTruncationOfAGoodHiveReadsOrFailsCleanly) {
  const std::string good =
      "\xEF\xBB\xBFREGEDIT4\r\n; generation 3\r\n\r\n[HKEY_USERS\\S-1\\Software]\r\n"
      "\"a\"=\"x\\\\y\"\r\n@=dword:00000010\r\n\"b\"=hex:01,02,\\\r\n  03\r\n"
      "\"m\"=hex(7):61,00,00\r\n";
  for (size_t n = 0; n <= good.size(); ++n) {
    platform::sim::Hive hive("HKEY_USERS");
    try {
      platform::sim::ReadHiveText(std::string_view(good).substr(0, n), "t.reg", hive);
    } catch (const HiveError&) {
    }
  }
  platform::sim::Hive hive("HKEY_USERS");
  platform::sim::ReadHiveText(good, "t.reg", hive);
  EXPECT_EQ(hive.generation, 3u);
  const auto* key = hive.Find({"S-1", "SOFTWARE"});
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Value("b")->binary, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(key->Value("A")->text, "x\\y");
}

TEST_F(SimRegistryTest, SingleWritesAppendToTheJournalUntilFlushFoldsIt) {
  auto reg = Open();
  reg->CreateKey(HKLM, "K");
  reg->Flush(HKLM, "K");
  const auto hiveTime = fs::last_write_time(File(".reg"));
  for (int i = 0; i < 200; ++i)
    reg->WriteValue(HKLM, "K", "v" + std::to_string(i), RegValue::DWordValue(i));
  reg->WriteValue(HKLM, "K", "v0", RegValue::DWordValue(0));  // unchanged: not logged
  EXPECT_EQ(fs::last_write_time(File(".reg")), hiveTime) << "no rewrite per write";
  const std::string journal = ReadHostFile(File(".journal"));
  EXPECT_EQ(std::count(journal.begin(), journal.end(), '\n'), 201);  // header + 200 changes
  EXPECT_EQ(Open()->ValueNames(HKLM, "K").size(), 200u);
  reg->Flush(HKLM, "K");
  EXPECT_EQ(fs::file_size(File(".journal")), 0u);
  EXPECT_NE(ReadHostFile(File(".reg")).find("; generation 2\n"), std::string::npos);
  EXPECT_EQ(Open()->ReadValue(HKLM, "K", "v199"), RegValue::DWordValue(199));
}

TEST_F(SimRegistryTest, TornAndStaleJournalsAreSkippedAndRestarted) {
  {
    auto reg = Open();
    reg->CreateKey(HKLM, "K");
    reg->Flush(HKLM, "K");  // hive generation 1
    reg->WriteValue(HKLM, "K", "kept", RegValue::Str("1"));
  }
  // A writer stopped in the middle of an append.
  std::ofstream(File(".journal"), std::ios::app) << "=\"K\" \"torn\"=\"hal";
  auto reg = Open();
  EXPECT_EQ(reg->ValueNames(HKLM, "K"), std::vector<std::string>{"kept"});
  reg->WriteValue(HKLM, "K", "after", RegValue::Str("2"));
  EXPECT_EQ(Open()->ValueNames(HKLM, "K"), (std::vector<std::string>{"kept", "after"}));
  EXPECT_EQ(ReadHostFile(File(".journal")).find("torn"), std::string::npos);

  // A rewrite that renamed the new hive but never emptied the old journal:
  // the journal's generation is older than the hive's, so it is ignored.
  reg->Flush(HKLM, "K");
  WriteHostFile(File(".journal"), "PELLMORE-JOURNAL 1\n+\"Ghost\"\n");
  auto fresh = Open();
  EXPECT_FALSE(fresh->KeyExists(HKLM, "Ghost"));
  fresh->CreateKey(HKLM, "Real");
  EXPECT_EQ(ReadHostFile(File(".journal")), "PELLMORE-JOURNAL 2\n+\"Real\"\n");
  EXPECT_TRUE(Open()->KeyExists(HKLM, "Real"));
}

TEST_F(SimRegistryTest, FailedFoldKeepsHiveAndJournal) {
  auto reg = Open();
  reg->CreateKey(HKLM, "K");
  reg->Flush(HKLM, "K");
  const std::string before = ReadHostFile(File(".reg"));
  reg->WriteValue(HKLM, "K", "v", RegValue::Str("journal only"));
  fs::create_directory(File(".reg.tmp"));  // the temporary file cannot be created
  EXPECT_THROW(reg->Flush(HKLM, "K"), OsError);
  EXPECT_EQ(ReadHostFile(File(".reg")), before);
  EXPECT_EQ(Open()->ReadValue(HKLM, "K", "v")->text, "journal only");
  fs::remove(File(".reg.tmp"));
  reg->Flush(HKLM, "K");
  EXPECT_NE(ReadHostFile(File(".reg")).find("journal only"), std::string::npos);
}

TEST_F(SimRegistryTest, AHiveReplacedFromOutsideIsReadAgain) {
  auto reg = Open();
  reg->CreateKey(HKLM, "K");
  reg->Flush(HKLM, "K");
  EXPECT_FALSE(reg->KeyExists(HKLM, "Other"));
  WriteHostFile(File(".reg"), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Other]\n\"x\"=\"y\"\n");
  EXPECT_EQ(reg->ReadValue(HKLM, "Other", "x")->text, "y");
  EXPECT_FALSE(reg->KeyExists(HKLM, "K"));
}

}  // namespace
