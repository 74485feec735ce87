// The four operations of the engine's setup library over an in-memory
// host: results, what they write, and that every failure leaves every file
// (and WIN.INI and the registry) as it was.
#include <gtest/gtest.h>

#include <string>

#include "MemoryEngineHost.h"
#include "enginesetup/EngineSetup.h"

using namespace enginesetup;

namespace {

const std::string kDir = "C:\\Program Files\\Quenby\\Common Files\\QDE\\";
const std::string kTemplatePath = kDir + "QDENG32.CNF";
const std::string kConfigPath = kDir + "qdeng32.cfg";
const std::string kTemplate = "[SYSTEM INIT]\nVERSION=8.2\nLANGCODE=0009\nSHAREDMEMSIZE=4096\n";
const std::string kConfig = "[SYSTEM INIT]\r\nVERSION=7.5\r\nLOCAL SHARE=TRUE\r\n";
const std::string kMerged =
    "[SYSTEM INIT]\r\nVERSION=8.2\r\nLOCAL SHARE=TRUE\r\nLANGCODE=0009\r\nSHAREDMEMSIZE=4096\r\n";
const std::string kTemplateCrlf =
    "[SYSTEM INIT]\r\nVERSION=8.2\r\nLANGCODE=0009\r\nSHAREDMEMSIZE=4096\r\n";

MemoryEngineHost Machine() {
  MemoryEngineHost h;
  h.Put(kTemplatePath, kTemplate);
  h.Put(kConfigPath, kConfig);
  return h;
}

TEST(EngineSetupMerge, ResultsAndFilesForEachCase) {
  struct Case {
    const char* what;
    void (*shape)(MemoryEngineHost&);
    std::string existing, target;
    int32_t mode;
    int32_t result;
    std::string templateAfter, configAfter;
  };
  const auto none = [](MemoryEngineHost&) {};
  const Case cases[] = {
      {"merged in place", none, kConfigPath, kConfigPath, 1, kOk, kTemplate, kMerged},
      {"no existing configuration", none, "***", kConfigPath, 1, kOk, kTemplate, kTemplateCrlf},
      {"existing path where nothing is", none, kDir + "gone.cfg", kConfigPath, 1, kOk, kTemplate,
       kTemplateCrlf},
      {"target is the template", none, kConfigPath, kTemplatePath, 1, kOk, kMerged, kConfig},
      {"template missing", [](MemoryEngineHost& h) { h.files.erase(h.Up(kTemplatePath)); },
       kConfigPath, kConfigPath, 1, kTemplateUnreadable, "<missing>", kConfig},
      {"template damaged", [](MemoryEngineHost& h) { h.Put(kTemplatePath, "VERSION=8.2\n"); },
       kConfigPath, kConfigPath, 1, kTemplateDamaged, "VERSION=8.2\n", kConfig},
      {"existing damaged", [](MemoryEngineHost& h) { h.Put(kConfigPath, "[SYSTEM INIT\n"); },
       kConfigPath, kConfigPath, 1, kExistingDamaged, kTemplate, "[SYSTEM INIT\n"},
      {"existing unreadable", [](MemoryEngineHost& h) { h.unreadable.insert(h.Up(kConfigPath)); },
       kConfigPath, kConfigPath, 1, kExistingUnreadable, kTemplate, kConfig},
      {"write refused", [](MemoryEngineHost& h) { h.unwritable.insert(h.Up(kConfigPath)); },
       kConfigPath, kConfigPath, 1, kWriteFailed, kTemplate, kConfig},
      {"unknown mode", none, kConfigPath, kConfigPath, 2, kBadArguments, kTemplate, kConfig},
      {"empty target", none, kConfigPath, "", 1, kBadArguments, kTemplate, kConfig},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryEngineHost h = Machine();
    c.shape(h);
    EXPECT_EQ(MergeConfig(h, kTemplatePath, c.existing, c.target, c.mode, 0, "0009"), c.result)
        << ResultText(c.result);
    EXPECT_EQ(h.Get(kTemplatePath), c.templateAfter);
    EXPECT_EQ(h.Get(kConfigPath), c.configAfter);
    if (c.result != kOk) {
      EXPECT_EQ(h.replaces, 0);
    }
  }
}

TEST(EngineSetupLocale, SetsTheTemplatesLanguageAndLeavesADamagedOneAlone) {
  MemoryEngineHost h = Machine();
  EXPECT_EQ(LocaleConfig(h, kTemplatePath, 0, "0007"), kOk);
  EXPECT_EQ(h.Get(kTemplatePath),
            "[SYSTEM INIT]\r\nVERSION=8.2\r\nLANGCODE=0007\r\nSHAREDMEMSIZE=4096\r\n");

  h.Put(kTemplatePath, "LANGCODE=0009\n");
  EXPECT_EQ(LocaleConfig(h, kTemplatePath, 0, "0007"), kTemplateDamaged);
  EXPECT_EQ(h.Get(kTemplatePath), "LANGCODE=0009\n");
  EXPECT_EQ(LocaleConfig(h, kDir + "none.cnf", 0, "0007"), kTemplateUnreadable);
  EXPECT_EQ(LocaleConfig(h, kTemplatePath, 0, "00\r\n[X]"), kBadArguments);
  EXPECT_EQ(h.Get(kTemplatePath), "LANGCODE=0009\n");
}

TEST(EngineSetupRepair, SixteenBitFlagAndWinIniEachOnlyWhenAsked) {
  const std::string iniKey = "WIN.INI|QDLEGACY|CONFIGPATH";
  const std::string fixed = "[SYSTEM INIT]\r\nVERSION=7.5\r\nLOCAL SHARE=TRUE\r\nCONFIG16=TRUE\r\n";
  struct Case {
    const char* what;
    void (*shape)(MemoryEngineHost&);
    int32_t differs, is16, result;
    std::string configAfter, iniAfter;
  };
  const auto none = [](MemoryEngineHost&) {};
  const Case cases[] = {
      {"16-bit, same path", none, 0, 1, kOk, fixed, "<none>"},
      {"16-bit, other path", none, 1, 1, kOk, fixed, kConfigPath},
      {"32-bit, other path", none, 1, 0, kOk, kConfig, kConfigPath},
      {"nothing asked", none, 0, 0, kOk, kConfig, "<none>"},
      {"damaged", [](MemoryEngineHost& h) { h.Put(kConfigPath, "[A]\nB\n"); }, 1, 1, kTargetDamaged,
       "[A]\nB\n", "<none>"},
      {"missing", [](MemoryEngineHost& h) { h.files.erase(h.Up(kConfigPath)); }, 1, 1,
       kTargetUnreadable, "<missing>", "<none>"},
      {"write refused", [](MemoryEngineHost& h) { h.unwritable.insert(h.Up(kConfigPath)); }, 1, 1,
       kWriteFailed, kConfig, "<none>"},
      {"WIN.INI refused", [](MemoryEngineHost& h) { h.iniRefuses = true; }, 1, 0, kIniWriteFailed,
       kConfig, "<none>"},
      {"flag out of range", none, 2, 1, kBadArguments, kConfig, "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryEngineHost h = Machine();
    c.shape(h);
    EXPECT_EQ(RepairConfig(h, kConfigPath, c.differs, c.is16, "0009"), c.result)
        << ResultText(c.result);
    EXPECT_EQ(h.Get(kConfigPath), c.configAfter);
    EXPECT_EQ(h.ini.count(iniKey) ? h.ini[iniKey] : "<none>", c.iniAfter);
    EXPECT_EQ(h.Get(kTemplatePath), kTemplate);
  }
}

TEST(EngineSetupUseCount, CountsFromWhatTheRegistryHolds) {
  const std::string key = MemoryEngineHost::Up(std::string(kEngineKey) + "|" + kUseCountValue);
  struct Case {
    const char* what;
    const char* before;  // nullptr: no value
    const char* after;
  };
  const Case cases[] = {
      {"missing", nullptr, "1"},
      {"a count", "4", "5"},
      {"not a number", "x", "1"},
      {"blanks around", " 7 ", "8"},
      {"negative", "-3", "1"},
      {"digits then text", "12abc", "1"},
      {"at the largest", "2147483647", "2147483647"},
      {"beyond it", "99999999999", "2147483647"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryEngineHost h;
    if (c.before) h.registry[key] = c.before;
    EXPECT_EQ(IncrementUseCount(h), kOk);
    EXPECT_EQ(h.registry[key], c.after);
  }
  MemoryEngineHost refused;
  refused.registry[key] = "4";
  refused.registryRefuses = true;
  EXPECT_EQ(IncrementUseCount(refused), kRegistryWriteFailed);
  EXPECT_EQ(refused.registry[key], "4");
}

}  // namespace
