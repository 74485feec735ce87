// The PE image view both PE readers share, on small hand-laid images:
// header acceptance, data directories, the address mapping at section edges
// and zero fill, damaged section tables; and reading through a file of the
// machine.
#include <gtest/gtest.h>

#include "platform/sim/PeExportReader.h"
#include "platform/sim/PeImage.h"
#include "platform/sim/PeVersionReader.h"
#include "support/ContractMachine.h"
#include "tools/pegen/PeWriter.h"

using platform::sim::FileSource;
using platform::sim::PeImage;
using platform::sim::SpanSource;
namespace pe = platform::sim::pe;

namespace {

// Two sections: .a maps 0x100 of its 0x200 file bytes at 0x1000, .b (virtual
// size 0, as old linkers write) maps all 0x80 file bytes at 0x2000.
constexpr uint32_t kPe = 0x40;
constexpr uint32_t kOpt = kPe + 24;
constexpr uint32_t kOptSize = 96 + 16 * 8;
constexpr uint32_t kSections = kOpt + kOptSize;

struct Layout {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(0x480, 0);

  Layout() {
    bytes[0] = 'M', bytes[1] = 'Z';
    Put32(0x3C, kPe);
    bytes[kPe] = 'P', bytes[kPe + 1] = 'E';
    Put16(kPe + 4, 0x14C);
    Put16(kPe + 6, 2);
    Put16(kPe + 20, kOptSize);
    Put16(kPe + 22, 0x2102);
    Put16(kOpt, 0x10B);
    Put32(kOpt + 92, 16);
    Put32(kOpt + 96, 0x2000);  // export directory
    Put32(kOpt + 100, 0x28);
    Section(0, 0x100, 0x1000, 0x200, 0x200);
    Section(1, 0, 0x2000, 0x80, 0x400);
    for (size_t i = 0x200; i < bytes.size(); ++i) bytes[i] = uint8_t(i);
  }
  void Put16(size_t at, uint16_t v) { bytes[at] = uint8_t(v), bytes[at + 1] = uint8_t(v >> 8); }
  void Put32(size_t at, uint32_t v) { Put16(at, uint16_t(v)), Put16(at + 2, uint16_t(v >> 16)); }
  void Section(int i, uint32_t virtualSize, uint32_t rva, uint32_t rawSize, uint32_t raw) {
    const size_t s = kSections + 40 * i;
    Put32(s + 8, virtualSize);
    Put32(s + 12, rva);
    Put32(s + 16, rawSize);
    Put32(s + 20, raw);
  }
};

std::optional<PeImage> Open(SpanSource& source) {
  return PeImage::Open(source);
}

TEST(PeImage, ReadsTheHeadersAndTheDataDirectories) {
  Layout l;
  SpanSource source(l.bytes);
  auto image = Open(source);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Machine(), 0x14C);
  EXPECT_EQ(image->Characteristics(), 0x2102);
  EXPECT_TRUE(image->IsPe32());
  auto exports = image->DataDirectory(pe::kExportDirectory);
  ASSERT_TRUE(exports);
  EXPECT_EQ(exports->rva, 0x2000u);
  EXPECT_EQ(exports->size, 0x28u);

  // A directory past the declared count or the optional header's size is
  // absent, whatever bytes follow.
  l.Put32(kOpt + 92, 2);
  EXPECT_TRUE(Open(source)->DataDirectory(1));
  EXPECT_FALSE(Open(source)->DataDirectory(pe::kResourceDirectory));
  l.Put32(kOpt + 92, 16);
  l.Put16(kPe + 20, 96 + 8);
  EXPECT_TRUE(Open(source)->DataDirectory(pe::kExportDirectory));
  EXPECT_FALSE(Open(source)->DataDirectory(1));
  EXPECT_FALSE(Open(source)->DataDirectory(0xFFFFFFFFu));  // no overflow into range

  // PE32+ keeps its count 16 bytes further on.
  l.Put16(kPe + 20, kOptSize);
  l.Put16(kOpt, 0x20B);
  l.Put32(kOpt + 108, 1);
  l.Put32(kOpt + 112, 0x1234);
  auto plus = Open(source);
  ASSERT_TRUE(plus);
  EXPECT_FALSE(plus->IsPe32());
  EXPECT_EQ(plus->DataDirectory(0)->rva, 0x1234u);
}

TEST(PeImage, RefusesFilesThatAreNoPeImage) {
  const auto refused = [](auto damage) {
    Layout l;
    damage(l);
    SpanSource source(l.bytes);
    return !Open(source).has_value();
  };
  EXPECT_TRUE(refused([](Layout& l) { l.bytes[1] = 'X'; }));
  EXPECT_TRUE(refused([](Layout& l) { l.Put32(0x3C, 0xFFFFFFFEu); }));  // signature past the end
  EXPECT_TRUE(refused([](Layout& l) { l.bytes[kPe + 2] = 'X'; }));
  EXPECT_TRUE(refused([](Layout& l) { l.Put16(kOpt, 0x107); }));
  EXPECT_TRUE(refused([](Layout& l) { l.bytes.resize(kOpt + 1); }));  // magic cut in half
  EXPECT_FALSE(refused([](Layout& l) { l.bytes.resize(kOpt + 2); }));
}

TEST(PeImage, MapsAddressesOnlyWhereFileDataBacksThem) {
  Layout l;
  SpanSource source(l.bytes);
  auto image = Open(source);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->RvaToOffset(0x1000, 0x100), 0x200u);
  EXPECT_EQ(image->RvaToOffset(0x10FF, 1), 0x2FFu);
  EXPECT_FALSE(image->RvaToOffset(0x10FF, 2));  // runs into zero fill
  EXPECT_FALSE(image->RvaToOffset(0x1100, 1));  // file bytes beyond the virtual size
  EXPECT_FALSE(image->RvaToOffset(0x0FFF, 1));
  EXPECT_EQ(image->RvaToOffset(0x2000, 0x80), 0x400u);
  EXPECT_FALSE(image->RvaToOffset(0x2080, 1));
  EXPECT_FALSE(image->RvaToOffset(0xFFFFFFFFFFFFFFFFull, 1));

  uint32_t v = 0;
  ASSERT_TRUE(image->Read32(0x2004, v));
  EXPECT_EQ(v, 0x07060504u);
  uint16_t w = 0;
  EXPECT_FALSE(image->Read16(0x207F, w));

  // The section table may promise file data the file does not have.
  l.bytes.resize(0x440);
  SpanSource cut(l.bytes);
  auto cutImage = Open(cut);
  ASSERT_TRUE(cutImage);
  EXPECT_EQ(cutImage->RvaToOffset(0x2040, 1), 0x440u);
  uint8_t b = 0;
  EXPECT_TRUE(cutImage->Read(0x203F, &b, 1));
  EXPECT_FALSE(cutImage->Read(0x2040, &b, 1));
}

TEST(PeImage, ADamagedSectionTableMapsNothingButKeepsTheHeaders) {
  for (auto damage : {+[](Layout& l) { l.Put16(kPe + 6, 0); },
                      +[](Layout& l) { l.Put16(kPe + 6, 0xFFFF); },  // over the cap
                      +[](Layout& l) { l.bytes.resize(kSections + 40 + 39); }}) {
    Layout l;
    damage(l);
    SpanSource source(l.bytes);
    auto image = Open(source);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Machine(), 0x14C);
    EXPECT_FALSE(image->RvaToOffset(0x1000, 1));
    // The export reader reports such an image, without exports.
    auto info = platform::sim::ReadPeImage(source);
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->dll);
    EXPECT_TRUE(info->exports.empty());
  }
}

// The generator's images of both machine types read back alike: the 64-bit
// Windows build loads x86-64 ones, so a wrong PE32+ field would only show
// there as a refused LoadLibrary.
TEST(PeImage, GeneratedImagesOfBothMachinesReadBackAlike) {
  struct Case {
    pegen::Machine machine;
    uint16_t coffMachine;
    bool pe32;
  };
  for (const Case c :
       {Case{pegen::Machine::I386, 0x14C, true}, Case{pegen::Machine::Amd64, 0x8664, false}}) {
    SCOPED_TRACE(c.coffMachine);
    pegen::PeOptions o;
    o.machine = c.machine;
    o.exports = {{"DllRegisterServer", 0x80004005u, 0}, {"Alpha", 3, 8}};
    o.version.emplace();
    o.version->fileVersion = {8, 2, 0, 17};
    o.version->tables.push_back({0x0409, 1200, {{"FileVersion", "8.2.0.17"}}});
    const auto dll = pegen::BuildPe(o);
    SpanSource source(dll);
    auto info = platform::sim::ReadPeImage(source);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->machine, c.coffMachine);
    EXPECT_EQ(info->pe32, c.pe32);
    EXPECT_TRUE(info->dll);
    ASSERT_EQ(info->exports.size(), 2u);
    EXPECT_EQ(info->exports[0].name, "Alpha");
    EXPECT_EQ(info->exports[0].constantResult, 3u);
    EXPECT_EQ(info->exports[1].constantResult, 0x80004005u);
    auto version = platform::sim::ReadPeVersionInfo(source);
    ASSERT_TRUE(version);
    ASSERT_TRUE(version->Fixed());
    EXPECT_EQ(version->Fixed()->fileVersionLS, 17u);
    EXPECT_EQ(version->StringValue("040904B0", "FileVersion"), "8.2.0.17");

    o.kind = pegen::ImageKind::Exe;
    o.regServerExitCode = 4;
    const auto exe = pegen::BuildPe(o);
    SpanSource exeSource(exe);
    auto exeInfo = platform::sim::ReadPeImage(exeSource);
    ASSERT_TRUE(exeInfo);
    EXPECT_EQ(exeInfo->machine, c.coffMachine);
    EXPECT_FALSE(exeInfo->dll);
  }
}

class PeFileSourceTest : public ContractMachine {};

TEST_F(PeFileSourceTest, ReadsThroughAFileOfTheMachine) {
  pegen::PeOptions o;
  o.exports = {{"DllRegisterServer", 7, 0}};
  o.payload = pegen::MakeFiller(5, 9000);
  const auto dll = pegen::BuildPe(o);
  WriteFile(At("lib.dll"), std::string(dll.begin(), dll.end()));

  auto file = Files().OpenRead(At("lib.dll"));
  FileSource source(*file);
  EXPECT_EQ(source.Size(), dll.size());
  std::vector<uint8_t> got(100);
  ASSERT_TRUE(source.ReadAt(dll.size() - 100, got.data(), got.size()));
  EXPECT_TRUE(std::equal(got.begin(), got.end(), dll.end() - 100));
  ASSERT_TRUE(source.ReadAt(0, got.data(), 2));  // seeks back
  EXPECT_EQ(got[0], 'M');
  EXPECT_FALSE(source.ReadAt(dll.size() - 1, got.data(), 2));
  EXPECT_FALSE(source.ReadAt(UINT64_MAX, got.data(), 1));

  auto info = platform::sim::ReadPeImage(Files(), At("lib.dll"));
  ASSERT_TRUE(info);
  ASSERT_EQ(info->exports.size(), 1u);
  EXPECT_EQ(info->exports[0].constantResult, 7u);
}

}  // namespace
