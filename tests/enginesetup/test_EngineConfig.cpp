// The engine configuration format: what parses and what is damaged (with
// the line and the reason), writing back with CRLF, setting one value, and
// the merge of a template into the configuration in use.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "enginesetup/EngineConfig.h"

using enginesetup::EngineConfig;
using enginesetup::ParseResult;

namespace {

EngineConfig Parsed(const std::string& text) {
  ParseResult r = EngineConfig::Parse(text);
  EXPECT_TRUE(r.config) << r.Message();
  return r.config ? *r.config : *EngineConfig::Parse("").config;
}

TEST(EngineConfigFormat, DamagedFilesNameTheirLineAndWhy) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {"setting before any section", "; top\r\nA=1\r\n[S]\r\n",
       "damaged at line 2: a setting before the first section"},
      {"NUL byte", "[S]\nA=1\nB=x" + std::string(1, '\0') + "y\n", "damaged at line 3: a NUL byte"},
      {"unterminated header", "[S]\n[DRIVERS\\KESTREL\n",
       "damaged at line 2: a section header without its closing \"]\""},
      {"header without name", "[ ]\n", "damaged at line 1: a section header without a name"},
      {"text after header", "[S] x\n",
       "damaged at line 1: text after the section header's closing \"]\""},
      {"plain text", "[S]\nA=1\r\njust words\r\n",
       "damaged at line 3: neither a comment, a section header nor a NAME=VALUE setting"},
      {"setting without name", "[S]\n  =5\n", "damaged at line 2: a setting without a name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ParseResult r = EngineConfig::Parse(c.bytes);
    EXPECT_FALSE(r.config);
    EXPECT_EQ(r.Message(), c.message);
  }
}

TEST(EngineConfigFormat, EveryPrefixParsesOrIsDamagedOnlyAtItsCutLine) {
  const std::string file =
      "; engine\r\n[SYSTEM INIT]\r\nVERSION=8.2\r\nLOCAL SHARE=FALSE\r\n\r\n"
      "[DRIVERS\\KESTREL\\SESSION]\nCOMMIT MODE=SHARED AUTO\nDATABASE=\n";
  for (size_t n = 0; n <= file.size(); ++n) {
    const std::string cut = file.substr(0, n);
    ParseResult r = EngineConfig::Parse(cut);
    if (r.config) continue;
    // Only the cut line itself can be damaged (a header or a name cut short).
    EXPECT_EQ(r.line, size_t(std::count(cut.begin(), cut.end(), '\n')) + 1) << n;
    EXPECT_NE(cut.back(), '\n') << n << ": " << r.Message();
  }
}

TEST(EngineConfigFormat, ReadsNamesAndValuesAndWritesEveryLineBackWithCrlf) {
  const EngineConfig c = Parsed(
      "  ; a comment\n[System Init]\n  Version = 7.5  \nEXPR=A=B\nEMPTY=\n\t\n"
      "[DRIVERS\\KESTREL\\SESSION]\r\nCOMMIT MODE=SHARED AUTO");
  EXPECT_TRUE(c.HasSection("system init"));
  EXPECT_FALSE(c.HasSection("SYSTEM"));
  EXPECT_EQ(c.Value("SYSTEM INIT", "version"), "7.5");
  EXPECT_EQ(c.Value("SYSTEM INIT", "EXPR"), "A=B");  // the first "=" splits
  EXPECT_EQ(c.Value("SYSTEM INIT", "EMPTY"), "");
  EXPECT_EQ(c.Value("SYSTEM INIT", "COMMIT MODE"), std::nullopt);  // another section's
  EXPECT_EQ(c.Value("drivers\\kestrel\\session", "commit mode"), "SHARED AUTO");
  EXPECT_EQ(c.Write(),
            "  ; a comment\r\n[System Init]\r\n  Version = 7.5  \r\nEXPR=A=B\r\nEMPTY=\r\n\t\r\n"
            "[DRIVERS\\KESTREL\\SESSION]\r\nCOMMIT MODE=SHARED AUTO\r\n");
  EXPECT_EQ(Parsed("").Write(), "");
}

TEST(EngineConfigFormat, SetChangesOneValueAddsTheRestInPlaceAndRefusesBrokenTexts) {
  EngineConfig c = Parsed("[SYSTEM INIT]\n Langcode = 0007 \nA=1\n; after\n\n[OTHER]\nB=2\n");
  c.Set("system init", "LANGCODE", " 0009 ");
  c.Set("SYSTEM INIT", "CONFIG16", "TRUE");
  c.Set("NEW", "X", "");
  EXPECT_EQ(c.Write(),
            "[SYSTEM INIT]\r\n Langcode =0009\r\nA=1\r\nCONFIG16=TRUE\r\n; after\r\n\r\n"
            "[OTHER]\r\nB=2\r\n\r\n[NEW]\r\nX=\r\n");
  const std::string before = c.Write();
  EXPECT_THROW(c.Set("S", "A", "1\r\nB=2"), std::invalid_argument);
  EXPECT_THROW(c.Set("S", "A=B", "1"), std::invalid_argument);
  EXPECT_THROW(c.Set("S", "[A]", "1"), std::invalid_argument);
  EXPECT_THROW(c.Set("S", " ", "1"), std::invalid_argument);
  EXPECT_THROW(c.Set("A]B", "A", "1"), std::invalid_argument);
  EXPECT_EQ(c.Write(), before);
}

// The older engine's configuration with the user's changes, and the newer
// engine's template.
const char* const kExisting =
    "; qdeng32.cfg written by the 7.5 engine\r\n"
    "[SYSTEM INIT]\r\n"
    "VERSION=7.5\r\n"
    "LOCAL SHARE=TRUE\r\n"
    "MaxFileHandles=96\r\n"
    "; user note\r\n"
    "\r\n"
    "[DRIVERS\\KESTREL\\SESSION]\r\n"
    "HOST=PRODSRV\r\n"
    "BATCH SIZE=500\r\n"
    "\r\n"
    "[ALIASES\\SALES]\r\n"
    "PATH=D:\\DATA\\SALES\r\n";
const char* const kTemplate =
    "; QDENG32.CNF 8.2\n"
    "[SYSTEM INIT]\n"
    "VERSION=8.2\n"
    "LOCAL SHARE=FALSE\n"
    "MAXFILEHANDLES=48\n"
    "SHAREDMEMSIZE=4096\n"
    "\n"
    "[DRIVERS\\ASCII\\INIT]\n"
    "; text tables\n"
    "TYPE=FILE\n"
    "\n"
    "[drivers\\kestrel\\session]\n"
    "HOST=KST_SERVER\n"
    "BATCH SIZE=200\n"
    "PACKET SIZE=4096\n"
    "\n"
    "[DRIVERS\\KESTREL\\STARTUP]\n"
    "LIBRARY=QLKKST32.DLL\n";

TEST(EngineConfigMerge, KeepsTheUsersValuesAndAddsWhatTheTemplateHasNew) {
  const EngineConfig merged = EngineConfig::Merge(Parsed(kTemplate), Parsed(kExisting));
  EXPECT_EQ(merged.Write(),
            "; qdeng32.cfg written by the 7.5 engine\r\n"
            "[SYSTEM INIT]\r\n"
            "VERSION=8.2\r\n"  // the engine's own setting follows the template
            "LOCAL SHARE=TRUE\r\n"
            "MaxFileHandles=96\r\n"
            "SHAREDMEMSIZE=4096\r\n"  // new: after the section's last setting
            "; user note\r\n"
            "\r\n"
            "[DRIVERS\\KESTREL\\SESSION]\r\n"
            "HOST=PRODSRV\r\n"
            "BATCH SIZE=500\r\n"
            "PACKET SIZE=4096\r\n"
            "\r\n"
            "[ALIASES\\SALES]\r\n"
            "PATH=D:\\DATA\\SALES\r\n"
            "\r\n"  // new sections whole, with their comments, in the template's order
            "[DRIVERS\\ASCII\\INIT]\r\n"
            "; text tables\r\n"
            "TYPE=FILE\r\n"
            "\r\n"
            "[DRIVERS\\KESTREL\\STARTUP]\r\n"
            "LIBRARY=QLKKST32.DLL\r\n");
  // Merging again adds nothing more.
  EXPECT_EQ(EngineConfig::Merge(Parsed(kTemplate), merged).Write(), merged.Write());
}

TEST(EngineConfigMerge, RepeatedSectionsAndSettingsAreTakenOnce) {
  const EngineConfig merged = EngineConfig::Merge(Parsed("[A]\nX=1\nY=2\nY=3\n[B]\n[A]\nZ=4\n"),
                                                  Parsed("[A]\nX=9\n[C]\nW=0\n[a]\n; end of a\n"));
  // Additions go to the last block of a section, after its last setting.
  EXPECT_EQ(merged.Write(),
            "[A]\r\nX=9\r\n[C]\r\nW=0\r\n[a]\r\nY=2\r\nZ=4\r\n; end of a\r\n\r\n[B]\r\n");
}

}  // namespace
