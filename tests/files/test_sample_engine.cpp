// The sample engine: every file the engine group declares, real PE images
// with the right versions where they are programs, realistic sizes and
// data that compresses like real files; configuration files that parse
// and carry what a merge must keep or add; the kit's files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <set>

#include "EngineConfigReader.h"
#include "platform/sim/PeVersionReader.h"
#include "tools/sample-engine/SampleEngine.h"

namespace {

TEST(SampleEngine, HoldsTheEngineGroupsFilesWithTheirVersions) {
  struct Case {
    sample_engine::Release release;
    size_t count;
    const char* prefix;
  };
  for (const Case c : {Case{sample_engine::Release::v82, 31, "8.2."},
                       Case{sample_engine::Release::v75, 27, "7.5."}}) {
    SCOPED_TRACE(c.prefix);
    const auto files = sample_engine::BuildEngine(c.release);
    ASSERT_EQ(files.size(), c.count);
    std::set<std::string> names;
    size_t total = 0, packed = 0;
    for (const auto& f : files) {
      SCOPED_TRACE(f.name);
      names.insert(f.name);
      total += f.bytes.size();
      platform::sim::SpanSource source(f.bytes);
      const auto data = platform::sim::ReadPeVersionInfo(source);
      if (f.version.empty()) {
        EXPECT_EQ(data, nullptr);
      } else {
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(f.version.rfind(c.prefix, 0), 0u);
        EXPECT_EQ(data->StringValue("040904E4", "FileVersion"), f.version);
        EXPECT_EQ(data->StringValue("040904E4", "OLESelfRegister").has_value(),
                  f.name == "QDLSQ32.DLL");
        EXPECT_GE(f.bytes.size(), 20u * 1024);
      }
      std::vector<uint8_t> out(compressBound(f.bytes.size()));
      uLongf len = out.size();
      ASSERT_EQ(compress2(out.data(), &len, f.bytes.data(), f.bytes.size(), 6), Z_OK);
      packed += len;
    }
    EXPECT_EQ(names.size(), c.count);  // no name twice
    EXPECT_TRUE(names.count("QDENG32.DLL") && names.count("QDENG32.CNF"));
    // Neither noise nor zeros: compresses like real program files.
    EXPECT_GT(total, 2u * 1024 * 1024);
    EXPECT_GT(packed * 6, total);
    EXPECT_LT(packed * 2, total);
  }
}

TEST(SampleEngine, IsTheSameEveryTime) {
  const auto a = sample_engine::BuildEngine(sample_engine::Release::v82);
  const auto b = sample_engine::BuildEngine(sample_engine::Release::v82);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].bytes, b[i].bytes) << a[i].name;
}

const sample_engine::EngineFile& Named(const std::vector<sample_engine::EngineFile>& files,
                                       const std::string& name) {
  for (const auto& f : files)
    if (f.name == name) return f;
  throw std::runtime_error("no file " + name);
}

std::string Text(const std::vector<uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

TEST(SampleEngine, ConfigurationReaderRefusesDamagedFiles) {
  // The reader below must be able to say "damaged", or the checks that use
  // it prove nothing.
  const std::pair<const char*, std::string> damaged[] = {
      {"setting before any section", "A=1\r\n[S]\r\n"},
      {"unterminated section", "[SYSTEM INIT\r\nA=1\r\n"},
      {"empty section name", "[]\r\n"},
      {"neither", "[S]\r\nloose words\r\n"},
      {"no name", "[S]\r\n =1\r\n"},
      {"NUL byte", std::string("[S]\r\nA=1\0\r\n", 11)},
  };
  for (const auto& [what, text] : damaged) {
    SCOPED_TRACE(what);
    EXPECT_FALSE(testsupport::ReadEngineConfig(text).has_value());
  }
  const auto ok = testsupport::ReadEngineConfig("; c\n\n[A\\B]\r\nx = y=z\r\nE=\n");
  ASSERT_TRUE(ok.has_value());
  EXPECT_EQ(ok->at("A\\B").at("X"), " y=z");
  EXPECT_EQ(ok->at("A\\B").at("E"), "");
}

TEST(SampleEngine, ConfigurationFilesParseAndCarryWhatAMergeNeeds) {
  using sample_engine::Release;
  const auto v82 = sample_engine::BuildEngine(Release::v82);
  const auto v75 = sample_engine::BuildEngine(Release::v75);
  const auto kit = sample_engine::BuildKitFiles();
  const sample_engine::MachinePaths paths{"C:\\Program Files", "C:\\Windows\\System32"};
  struct File {
    const char* what;
    std::string text;
  };
  std::vector<File> files = {{"8.2 template", Text(Named(v82, "QDENG32.CNF").bytes)},
                             {"7.5 template", Text(Named(v75, "QDENG32.CNF").bytes)},
                             {"7.5 in use", Text(Named(v75, "qdeng32.cfg").bytes)},
                             {"kit template", Text(Named(kit, "QDENG32.CNF").bytes)}};
  for (const auto& layout :
       {sample_engine::AuthoringLayout(paths), sample_engine::OlderEngineLayout(paths)})
    for (const auto& f : layout.files)
      if (f.path.ends_with(".cfg") || f.path.ends_with(".CNF"))
        files.push_back({"laid", Text(f.bytes)});
  ASSERT_EQ(files.size(), 4u + 5u);  // authoring: 2 templates and the file in use

  std::map<std::string, testsupport::EngineConfigSections> parsed;
  for (const File& f : files) {
    SCOPED_TRACE(f.what);
    std::string why;
    const auto sections = testsupport::ReadEngineConfig(f.text, &why);
    ASSERT_TRUE(sections.has_value()) << why;
    EXPECT_GE(f.text.size(), 9u * 1024);  // a realistic size, from comments only
    EXPECT_LE(f.text.size(), 14u * 1024);
    parsed.emplace(f.what, *sections);
  }
  EXPECT_EQ(files[0].text, files[3].text);  // the kit ships the engine's template

  // nullptr: the setting (or with an empty name, the section) is absent.
  struct Expect {
    const char* file;
    const char* section;
    const char* name;
    const char* value;
  };
  const Expect expected[] = {
      {"8.2 template", "SYSTEM INIT", "VERSION", "8.2"},
      {"8.2 template", "SYSTEM INIT", "SHAREDMEMLOCATION", "0x5BDE"},
      {"8.2 template", "SYSTEM INIT", "LANGCODE", "0009"},
      {"8.2 template", "DRIVERS\\KESTREL\\SESSION", "BATCH SIZE", "200"},
      {"8.2 template", "DRIVERS\\KESTREL\\SESSION", "HOST", "KST_SERVER"},
      {"8.2 template", "DRIVERS\\KESTREL\\SESSION", "PACKET SIZE", "4096"},
      {"8.2 template", "DRIVERS\\KESTREL\\STARTUP", "MAX CONNECTIONS", "300"},
      {"8.2 template", "DRIVERS\\HERON\\SESSION", "", ""},
      {"8.2 template", "DRIVERS\\TERN\\TABLE CREATE", "FILL FACTOR", "95"},
      {"8.2 template", "ALIASES\\SALES", "", nullptr},
      {"7.5 template", "SYSTEM INIT", "VERSION", "7.5"},
      {"7.5 template", "SYSTEM INIT", "MAXFILEHANDLES", "48"},
      {"7.5 template", "DRIVERS\\KESTREL\\SESSION", "HOST", "KST_SERVER"},
      {"7.5 in use", "SYSTEM INIT", "VERSION", "7.5"},
      {"7.5 in use", "SYSTEM INIT", "MAXFILEHANDLES", "96"},
      {"7.5 in use", "SYSTEM INIT", "LOCAL SHARE", "TRUE"},
      {"7.5 in use", "SYSTEM INIT", "SHAREDMEMLOCATION", nullptr},
      {"7.5 in use", "DRIVERS\\KESTREL\\SESSION", "HOST", "PRODSRV"},
      {"7.5 in use", "DRIVERS\\KESTREL\\SESSION", "BATCH SIZE", "500"},
      {"7.5 in use", "DRIVERS\\KESTREL\\SESSION", "PACKET SIZE", nullptr},
      {"7.5 in use", "DRIVERS\\KESTREL\\STARTUP", "MAX CONNECTIONS", nullptr},
      {"7.5 in use", "DRIVERS\\HERON\\SESSION", "", nullptr},
      {"7.5 in use", "ALIASES\\SALES", "PATH", "D:\\DATA\\SALES"},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(std::string(e.file) + " [" + e.section + "] " + e.name);
    const auto& sections = parsed.at(e.file);
    const auto section = sections.find(e.section);
    if (*e.name == '\0') {
      EXPECT_EQ(section != sections.end(), e.value != nullptr);
      continue;
    }
    ASSERT_NE(section, sections.end());
    const auto setting = section->second.find(e.name);
    if (e.value == nullptr)
      EXPECT_EQ(setting, section->second.end());
    else if (setting == section->second.end())
      ADD_FAILURE() << "missing";
    else
      EXPECT_EQ(setting->second, e.value);
  }
}

TEST(SampleEngine, KitFilesHoldTheSetupLibraryApartFromTheEngine) {
  const auto kit = sample_engine::BuildKitFiles();
  std::vector<std::string> names;
  for (const auto& f : kit) names.push_back(f.name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"QDSETUP.DLL", "QDENG32.CNF", "OSP_KEY.DAT", "uninstall.exe",
                                      "PellmoreLoadProgram.exe", "PKIT.TXT"}));
  for (const auto& f : sample_engine::BuildEngine(sample_engine::Release::v82))
    EXPECT_NE(f.name, "QDSETUP.DLL");

  const auto& dll = Named(kit, "QDSETUP.DLL");
  platform::sim::SpanSource source(dll.bytes);
  const auto data = platform::sim::ReadPeVersionInfo(source);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->StringValue("040904E4", "OriginalFilename"), "QDSETUP.DLL");
  EXPECT_EQ(data->StringValue("040904E4", "FileVersion"), dll.version);
}

}  // namespace
