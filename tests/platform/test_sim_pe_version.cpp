// The portable PE version reader against images from the PE generator:
// string tables under several translations, the fixed information, files
// without a resource, and damaged input (every truncation, broken trees).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/sim/PeVersionReader.h"
#include "support/ContractMachine.h"
#include "tools/pegen/PeWriter.h"

namespace {

using platform::sim::ParseVersionBlock;
using platform::sim::ReadPeVersionInfo;
using platform::sim::SpanSource;

std::unique_ptr<platform::VersionInfoData> Read(const std::vector<uint8_t>& bytes) {
  SpanSource source(bytes);
  return ReadPeVersionInfo(source);
}

pegen::PeOptions EngineDll() {
  pegen::PeOptions o;
  o.kind = pegen::ImageKind::Dll;
  o.exports = {{"DllRegisterServer", 0, 0}};
  pegen::VersionResource v;
  v.fileVersion = {8, 2, 0, 17};
  v.productVersion = {8, 2, 0, 0};
  v.fileFlags = 0x2;
  v.fileOS = 0x40004;
  v.tables = {{0x0409,
               1252,
               {{"CompanyName", "Quenby Software"},
                {"FileDescription", "Quenby Database Engine"},
                {"FileVersion", "8.2.0.17"},
                {"OLESelfRegister", ""}}},
              {0x0804, 936, {{"CompanyName", "昆比软件公司"}, {"FileDescription", "数据库引擎"}}}};
  o.version = v;
  o.payload = pegen::MakeFiller(3, 20000);
  return o;
}

TEST(PeVersionReader, AnswersStringsUnderEachTranslation) {
  const auto data = Read(pegen::BuildPe(EngineDll()));
  ASSERT_NE(data, nullptr);
  const std::vector<platform::VersionTranslation> translations = {{0x0409, 1252}, {0x0804, 936}};
  EXPECT_EQ(data->Translations(), translations);
  struct Case {
    const char* table;
    const char* key;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"040904E4", "CompanyName", "Quenby Software"},
      {"040904e4", "companyname", "Quenby Software"},  // case is ignored
      {"040904E4", "FileVersion", "8.2.0.17"},
      {"040904E4", "OLESelfRegister", ""},  // present and empty
      {"040904E4", "ProductName", std::nullopt},
      {"080403A8", "CompanyName", "昆比软件公司"},
      {"080403A8", "FileDescription", "数据库引擎"},
      {"080403A8", "OLESelfRegister", std::nullopt},
      {"04070000", "CompanyName", std::nullopt},
      {"040904E", "CompanyName", std::nullopt},  // a prefix is no match
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.table) + "\\" + c.key);
    EXPECT_EQ(data->StringValue(c.table, c.key), c.value);
  }
}

TEST(PeVersionReader, ReadsTheFixedInformation) {
  auto o = EngineDll();
  o.kind = pegen::ImageKind::Exe;
  o.version->fileType = 3;  // a driver
  o.version->fileSubtype = 6;
  o.version->fileOS = 0x10001;
  const auto data = Read(pegen::BuildPe(o));
  ASSERT_NE(data, nullptr);
  const auto fixed = data->Fixed();
  ASSERT_TRUE(fixed.has_value());
  EXPECT_EQ(fixed->signature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->fileVersionMS, 0x00080002u);
  EXPECT_EQ(fixed->fileVersionLS, 0x00000011u);
  EXPECT_EQ(fixed->productVersionMS, 0x00080002u);
  EXPECT_EQ(fixed->productVersionLS, 0u);
  EXPECT_EQ(fixed->fileFlags, 2u);
  EXPECT_EQ(fixed->fileOS, 0x10001u);
  EXPECT_EQ(fixed->fileType, 3u);
  EXPECT_EQ(fixed->fileSubtype, 6u);
}

TEST(PeVersionReader, FilesWithoutAVersionResourceHaveNone) {
  auto o = EngineDll();
  o.version.reset();
  const std::vector<uint8_t> mzOnly = {'M', 'Z', 0, 0};
  const std::string text = "[SESSION-KESTREL]\r\nHOST=KST_SERVER\r\n";
  const std::vector<std::vector<uint8_t>> inputs = {pegen::BuildPe(o),
                                                    {},
                                                    mzOnly,
                                                    std::vector<uint8_t>(text.begin(), text.end()),
                                                    std::vector<uint8_t>(4096, 0)};
  for (size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Read(inputs[i]), nullptr);
  }
}

TEST(PeVersionReader, EveryTruncationIsHandled) {
  const auto image = pegen::BuildPe(EngineDll());
  const auto whole = Read(image);
  ASSERT_NE(whole, nullptr);
  bool sawNone = false;
  for (size_t n = 0; n < image.size(); ++n) {
    const std::vector<uint8_t> cut(image.begin(), image.begin() + n);
    const auto data = Read(cut);
    if (!data) {
      sawNone = true;
      continue;
    }
    // Only a cut in the padding after the resource still finds it, whole.
    EXPECT_EQ(data->Fixed(), whole->Fixed()) << n;
    EXPECT_EQ(data->StringValue("080403A8", "CompanyName"), "昆比软件公司") << n;
  }
  EXPECT_TRUE(sawNone);
}

// Version blocks damaged in the tree itself.
TEST(PeVersionReader, DamagedVersionTreesNeverReadOutsideTheBlock) {
  const auto good = pegen::BuildVersionBlock(*EngineDll().version, pegen::ImageKind::Dll);
  auto put16 = [](std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  // Offset of the first string node ("CompanyName") inside the block.
  auto find = [&](const std::vector<uint8_t>& b, const char* key) {
    std::vector<uint8_t> pattern;
    for (const char* p = key; *p; ++p) pattern.insert(pattern.end(), {uint8_t(*p), 0});
    auto it = std::search(b.begin(), b.end(), pattern.begin(), pattern.end());
    return static_cast<size_t>(it - b.begin()) - 6;
  };
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    bool hasRoot;
    std::optional<std::string> company;  // "\StringFileInfo\040904E4\CompanyName"
  };
  const Case cases[] = {
      {"intact", [](std::vector<uint8_t>&) {}, true, "Quenby Software"},
      {"root length beyond the block", [&](auto& b) { put16(b, 0, 0xFFFF); }, true,
       "Quenby Software"},
      {"root length below a header", [&](auto& b) { put16(b, 0, 5); }, false, std::nullopt},
      {"root key without terminator",
       [&](auto& b) {
         b.resize(6 + 10);
         put16(b, 0, 16);
       },
       false, std::nullopt},
      {"string node of length zero", [&](auto& b) { put16(b, find(b, "CompanyName"), 0); }, true,
       std::nullopt},
      {"string value declared empty", [&](auto& b) { put16(b, find(b, "CompanyName") + 2, 0); },
       true, ""},
      {"string without terminator up to its end",
       [&](auto& b) {
         const size_t at = find(b, "CompanyName");
         const size_t end = at + (b[at] | (b[at + 1] << 8));
         put16(b, end - 2, 'X');
       },
       true, "Quenby SoftwareX"},
      // The children are looked for where the declared value ends, as the
      // system does: inside the fixed information there is no string table.
      {"fixed information too short", [&](auto& b) { put16(b, 2, 20); }, true, std::nullopt},
      // What lies before the cut is still found.
      {"cut after the first table", [&](auto& b) { b.resize(find(b, "080403A8") + 8); }, true,
       "Quenby Software"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto block = good;
    c.damage(block);
    const auto data = ParseVersionBlock(block);
    ASSERT_EQ(data != nullptr, c.hasRoot);
    if (!data) continue;
    EXPECT_EQ(data->StringValue("040904E4", "CompanyName"), c.company);
    if (block.size() < good.size()) {
      EXPECT_EQ(data->StringValue("080403A8", "CompanyName"), std::nullopt);
    }
  }
  // The fixed information needs all 52 bytes of its value.
  auto shortFixed = good;
  put16(shortFixed, 2, 20);
  EXPECT_FALSE(ParseVersionBlock(shortFixed)->Fixed().has_value());
}

// The machine's version service reads the same answers through its files.
class SimVersionService : public ContractMachine {};

TEST_F(SimVersionService, ReadsThroughTheMachinesFiles) {
  const auto image = pegen::BuildPe(EngineDll());
  WriteFile(At("QDENG32.DLL"),
            std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
  const auto data = platform::versions().Load(At("qdeng32.dll"));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->StringValue("040904E4", "CompanyName"), "Quenby Software");
  ASSERT_TRUE(data->Fixed().has_value());
  EXPECT_EQ(data->Fixed()->fileVersionLS, 17u);

  EXPECT_EQ(platform::versions().Load(At("missing.dll")), nullptr);
  EXPECT_EQ(platform::versions().Load(Scratch()), nullptr);  // a directory
  // Held by another handle that refuses readers: no version, no error.
  auto hold = Files().Open(At("QDENG32.DLL"), platform::kAccessRead | platform::kAccessWrite,
                           platform::kShareNone, platform::Disposition::OpenExisting);
  EXPECT_EQ(platform::versions().Load(At("QDENG32.DLL")), nullptr);
}

}  // namespace
