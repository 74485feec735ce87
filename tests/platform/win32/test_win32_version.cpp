// The version service over version.dll, cross-checked against the portable
// reader the simulated machine uses: for the same generated files both must
// give the same answers, so a setup decides alike on both builds.
#include <gtest/gtest.h>

#include "platform/VersionInfo.h"
#include "platform/sim/PeVersionReader.h"
#include "support/ContractMachine.h"
#include "tools/pegen/PeWriter.h"

namespace {

using Win32Version = ContractMachine;

pegen::PeOptions Image(pegen::ImageKind kind, std::optional<pegen::VersionResource> version) {
  pegen::PeOptions o;
  o.kind = kind;
  o.version = std::move(version);
  if (kind == pegen::ImageKind::Dll) o.exports = {{"DllRegisterServer", 0, 0}};
  return o;
}

pegen::VersionResource TwoLanguages() {
  pegen::VersionResource v;
  v.fileVersion = {8, 2, 0, 17};
  v.productVersion = {8, 2, 1, 0};
  v.fileFlags = 0x2;
  v.tables = {
      {0x0409,
       1252,
       {{"CompanyName", "Quenby Software"}, {"FileVersion", "8.2.0.17"}, {"OLESelfRegister", ""}}},
      {0x0804,
       936,
       {{"CompanyName", "\xE6\x98\x86\xE6\xAF\x94"},  // two Chinese characters
        {"FileDescription", "\xE5\xBC\x95\xE6\x93\x8E"}}}};
  return v;
}

pegen::VersionResource NoStrings() {
  pegen::VersionResource v;
  v.fileVersion = {1, 0, 0, 0};
  v.omitVarFileInfo = true;
  return v;
}

pegen::VersionResource OddTranslations() {
  pegen::VersionResource v = TwoLanguages();
  v.translations = {{0x0407, 1252}, {0x0409, 1252}, {0x0000, 0x04B0}};
  return v;
}

// Keys asked of every table of every file, present or not.
const char* const kKeys[] = {"CompanyName",     "companyname",     "FileVersion",
                             "FileDescription", "OLESelfRegister", "ProductName"};
const char* const kTables[] = {"040904E4", "040904e4", "080403A8", "04070000", "00000000"};

TEST_F(Win32Version, AnswersMatchThePortableReader) {
  struct Case {
    const char* what;
    pegen::PeOptions options;
  };
  const Case cases[] = {
      {"DLL in two languages", Image(pegen::ImageKind::Dll, TwoLanguages())},
      {"EXE in two languages", Image(pegen::ImageKind::Exe, TwoLanguages())},
      {"fixed information only", Image(pegen::ImageKind::Dll, NoStrings())},
      {"translations other than the tables", Image(pegen::ImageKind::Dll, OddTranslations())},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> bytes = pegen::BuildPe(c.options);
    const std::string path = At("image.bin");
    WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const auto windows = platform::versions().Load(path);
    platform::sim::SpanSource source(bytes);
    const auto portable = platform::sim::ReadPeVersionInfo(source);
    ASSERT_NE(windows, nullptr);
    ASSERT_NE(portable, nullptr);
    EXPECT_EQ(windows->Fixed(), portable->Fixed());
    EXPECT_EQ(windows->Translations(), portable->Translations());
    for (const char* table : kTables) {
      for (const char* key : kKeys) {
        SCOPED_TRACE(std::string(table) + "\\" + key);
        EXPECT_EQ(windows->StringValue(table, key), portable->StringValue(table, key));
      }
    }
  }
}

TEST_F(Win32Version, ReadsTheFixedInformationAndTexts) {
  const std::vector<uint8_t> bytes = pegen::BuildPe(Image(pegen::ImageKind::Dll, TwoLanguages()));
  WriteFile(At("qdtest.dll"),
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  const auto data = platform::versions().Load(At("qdtest.dll"));
  ASSERT_NE(data, nullptr);
  const auto fixed = data->Fixed();
  ASSERT_TRUE(fixed.has_value());
  EXPECT_EQ(fixed->signature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->fileVersionMS, (8u << 16) | 2u);
  EXPECT_EQ(fixed->fileVersionLS, 17u);
  EXPECT_EQ(fixed->productVersionLS, 1u << 16);
  EXPECT_EQ(fixed->fileFlags, 0x2u);
  const std::vector<platform::VersionTranslation> translations = {{0x0409, 1252}, {0x0804, 936}};
  EXPECT_EQ(data->Translations(), translations);
  EXPECT_EQ(data->StringValue("040904E4", "CompanyName"), "Quenby Software");
  EXPECT_EQ(data->StringValue("040904E4", "OLESelfRegister"), "");
  EXPECT_EQ(data->StringValue("080403A8", "CompanyName"), "\xE6\x98\x86\xE6\xAF\x94");
  EXPECT_EQ(data->StringValue("040904E4", "ProductName"), std::nullopt);
  // Names that would reach another item of the tree are no key at all.
  EXPECT_EQ(data->StringValue("040904E4", "CompanyName\\x"), std::nullopt);
  EXPECT_EQ(data->StringValue("", "CompanyName"), std::nullopt);
}

TEST_F(Win32Version, FilesWithoutAResourceGiveNothing) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::vector<uint8_t> bare = pegen::BuildPe(Image(pegen::ImageKind::Dll, std::nullopt));
  const Case cases[] = {
      {"image without a version resource",
       std::string(reinterpret_cast<const char*>(bare.data()), bare.size())},
      {"text file", "not a program"},
      {"empty file", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(At("file.dll"), c.bytes);
    EXPECT_EQ(platform::versions().Load(At("file.dll")), nullptr);
  }
  EXPECT_EQ(platform::versions().Load(At("missing.dll")), nullptr);
  EXPECT_EQ(platform::versions().Load(std::string("C:\\a\0b", 6)), nullptr);
}

}  // namespace
