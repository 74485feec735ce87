// Libraries on the simulated machine: scripted registration results
// (fail-then-succeed), the registration log with OLE's state, native
// implementations bound by file name, the search path, and the export
// reader on damaged images.
#include <gmock/gmock.h>

#include "framework/StrUtils.h"
#include "platform/Libraries.h"
#include "platform/sim/PeExportReader.h"
#include "platform/sim/SimMachine.h"
#include "support/ContractMachine.h"
#include "tools/pegen/PeWriter.h"

using namespace platform;
using namespace platform::sim;
using ::testing::ElementsAre;

namespace {

std::vector<uint8_t> DllBytes() {
  pegen::PeOptions o;
  o.exports = {{"DllRegisterServer", 0, 0}, {"Other", 0x1234, 8}, {"Zeta", 5, 0}};
  return pegen::BuildPe(o);
}

class SimLibrariesTest : public ContractMachine {
 protected:
  void Dll(const std::string& path) {
    auto bytes = DllBytes();
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
  }
};

TEST_F(SimLibrariesTest, RegistrationFollowsTheProgramTableAndIsLoggedWithOleState) {
  Dll(At("ctl.ocx"));
  Sim()->SetProgram(At("CTL.OCX"), SimProgram{"", 0, 0x80070005u, 1});
  auto lib = libraries().Load(At("ctl.ocx"));
  EXPECT_EQ(lib->Call("DllRegisterServer"), int32_t(kRegisterFailed));
  libraries().OleInitialize();
  libraries().OleInitialize();
  libraries().OleUninitialize();
  EXPECT_EQ(Sim()->OleDepth(), 1);
  EXPECT_EQ(lib->Call("DllRegisterServer"), int32_t(0x80070005u));
  libraries().OleUninitialize();
  libraries().OleUninitialize();  // unbalanced: stays at 0
  EXPECT_EQ(Sim()->OleDepth(), 0);
  EXPECT_EQ(lib->Call("Other"), 0x1234);  // other exports are not registrations
  EXPECT_THAT(
      Sim()->Starts(),
      ElementsAre(
          SimStart{SimStartKind::Register, At("ctl.ocx"), ShowMode::Hidden, kRegisterFailed, false},
          SimStart{SimStartKind::Register, At("ctl.ocx"), ShowMode::Hidden, 0x80070005u, true}));
}

class FixedLibrary : public Library {
 public:
  explicit FixedLibrary(std::string path) : path_(std::move(path)) {}
  bool HasExport(std::string_view name) override { return name == "Setup"; }
  std::optional<int32_t> Call(std::string_view name) override {
    if (name != "Setup") return std::nullopt;
    return int32_t(path_.size());
  }
  std::optional<int32_t> Call(std::string_view name, const std::vector<LibraryArg>&) override {
    return Call(name);
  }

 private:
  std::string path_;
};

TEST_F(SimLibrariesTest, ANativeImplementationIsBoundByFileNameOnceTheFileIsFound) {
  std::string loaded;
  Sim()->RegisterNativeLibrary("engsetup.dll", [&](const std::string& path) {
    loaded = path;
    return std::make_unique<FixedLibrary>(path);
  });
  EXPECT_EQ(CodeOf([&] { libraries().Load("EngSetup.dll"); }), kErrorModNotFound);
  const std::string inSystem =
      IncludeTrailingBackslash(System().SystemDirectory()) + "ENGSETUP.DLL";
  WriteFile(inSystem, "whatever the file holds");
  auto lib = libraries().Load("engsetup");
  EXPECT_EQ(loaded, inSystem);
  EXPECT_TRUE(lib->HasExport("Setup"));
  Sim()->RegisterNativeLibrary("ENGSETUP.DLL", nullptr);
  EXPECT_EQ(CodeOf([&] { libraries().Load("engsetup.dll"); }), kErrorBadExeFormatLoad);
}

TEST_F(SimLibrariesTest, TheProgramDirectoryComesFirstOnTheSearchPath) {
  Sim()->ChangeSettings([&](MachineSettings& s) { s.Set("program", At("setup\\SETUP.EXE")); });
  Files().CreateDirectory(At("setup"));
  Dll(At("setup\\mod.dll"));
  Sim()->SetProgram(At("setup\\mod.dll"), SimProgram{"", 0, 77, 0});
  WriteFile(IncludeTrailingBackslash(System().WindowsDirectory()) + "mod.dll", "text");
  EXPECT_EQ(libraries().Load("MOD.DLL")->Call("DllRegisterServer"), 77);
}

TEST_F(SimLibrariesTest, TheExportReaderReadsTheGeneratorsImagesAndSurvivesDamage) {
  const auto image = DllBytes();
  SpanSource whole(image);
  auto info = ReadPeImage(whole);
  ASSERT_TRUE(info);
  EXPECT_TRUE(info->dll);
  EXPECT_TRUE(info->pe32);
  EXPECT_EQ(info->machine, kMachineI386);
  ASSERT_EQ(info->exports.size(), 3u);
  EXPECT_EQ(info->exports[1].name, "Other");
  EXPECT_EQ(info->exports[1].constantResult, 0x1234u);
  // Every truncation and every single-byte corruption of the headers and
  // export data reads without crossing the buffer (ASan watches).
  for (size_t cut = 0; cut < image.size(); cut += 7) {
    SpanSource part(std::span<const uint8_t>(image.data(), cut));
    (void)ReadPeImage(part);
  }
  for (size_t at = 0; at < std::min<size_t>(image.size(), 4096); ++at) {
    auto damaged = image;
    damaged[at] ^= 0xFF;
    SpanSource source(damaged);
    (void)ReadPeImage(source);
  }
}

}  // namespace
