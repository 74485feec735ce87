// The `setup` program run as a child process on a fresh simulated machine:
// its exit code, its transcript and error output, and what it left in the
// machine's registry, for the start-up modes the command line selects.
#include <gmock/gmock.h>

#include <filesystem>

#include "SetupChild.h"
#include "platform/Registry.h"
#include "platform/sim/SimMachine.h"

namespace {

using e2e::Outcome;
using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

class SetupProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = e2e::MakeTempDirectory("pellmore-e2e");
    auto machine = platform::sim::CreateMachine(Machine(), {});
    // The running program's file, so the bookkeeping lookup can recognise it.
    machine->files().CreateDirectories("C:\\SETUP");
    auto f = machine->files().Create("C:\\SETUP\\SETUP.EXE");
    f->Write("MZ setup", 8);
    f->Close();
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Machine() const { return (dir_ / "machine").string(); }

  void PutMachineFile(const std::string& path, const std::string& bytes) {
    auto machine = platform::sim::SimMachine::Open(Machine());
    auto f = machine->files().Create(path);
    f->Write(bytes.data(), bytes.size());
    f->Close();
  }

  Outcome Run(const std::vector<std::string>& args) {
    return e2e::RunSetup(PELLMORE_SETUP_EXE, Machine(), args, dir_);
  }

  fs::path dir_;
};

const char* const kInvalid = ". Valid command line parameters are: -b (Build)";
const char* const kForgot = "You forgot to pass in the build directory.";
const char* const kNoLoader = "The path of the loading program was not passed correctly.";

TEST_F(SetupProgram, NoArgumentsShowsTheMainFormAndAsksForTheLoadingProgram) {
  const Outcome o = Run({});
  EXPECT_EQ(o.code, 1);
  EXPECT_TRUE(o.Has("form", "\"form\":\"fmMain\"")) << o.transcript.size();
  EXPECT_TRUE(o.Has("form", "Quenby Database Engine 8.2.0 安装"));
  EXPECT_TRUE(o.Has("error", kNoLoader));
  EXPECT_THAT(o.errors, HasSubstr(kNoLoader));
  EXPECT_EQ(o.Count("error"), 1);  // a second activation never starts again

  // Before a run only the lookup touched the registry: an empty parent key.
  auto machine = platform::sim::SimMachine::Open(Machine());
  platform::Registry& reg = machine->registry();
  EXPECT_TRUE(reg.KeyExists(platform::RootKey::LocalMachine, "\\SOFTWARE\\Pellmore\\Install"));
  EXPECT_TRUE(
      reg.SubKeyNames(platform::RootKey::LocalMachine, "\\SOFTWARE\\Pellmore\\Install").empty());
}

TEST_F(SetupProgram, BadSwitchesAndMissingBuildDirectoryEndTheStart) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"-x"}, std::string("Invalid parameter <-x>") + kInvalid},
      {{"x"}, std::string("Invalid parameter <x>") + kInvalid},
      {{"-"}, std::string("Invalid parameter <->") + kInvalid},
      {{"-d"}, kForgot},
      {{"-d", "-s"}, kForgot},
      {{"-d", "-s   "}, kForgot},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const Outcome o = Run(c.args);
    EXPECT_EQ(o.code, 1);
    EXPECT_TRUE(o.Has("error", c.message)) << (o.transcript.empty() ? "" : o.transcript[0]);
    EXPECT_THAT(o.errors, HasSubstr(c.message));
    EXPECT_EQ(o.Count("form"), 0);  // the form never came up
  }
}

TEST_F(SetupProgram, SourceDirectoryWithBlanksIsOneSwitch) {
  // The built-in form declares no files yet, so with its source directory
  // the run has nothing to read and finishes.
  for (const auto& args : {std::vector<std::string>{"-sC:\\My Build"},
                           std::vector<std::string>{"-d", "-sC:\\My Build"}}) {
    SCOPED_TRACE(args.size());
    const Outcome o = Run(args);
    EXPECT_EQ(o.code, 0) << o.Dump();
    EXPECT_EQ(o.Count("error"), 0);
    EXPECT_THAT(o.errors, Not(HasSubstr("Invalid parameter")));
  }
}

TEST_F(SetupProgram, BuildSwitchShowsItsErrorInAMessageBoxAndEnds) {
  struct Case {
    const char* what;
    const char* buildInf;  // null: none
    const char* message;
  };
  const Case cases[] = {
      {"no BUILD.INF", nullptr,
       "Need to have a BUILD.INF file in this directory with the first line specifying the build "
       "directory"},
      {"empty BUILD.INF", "",
       "Must be 1 line in BUILD.INF. This line should specify the build directory"},
      {"a build directory", "C:\\Build\r\n",
       "Building the distributables is not available in this build yet"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.buildInf) PutMachineFile("C:\\SETUP\\BUILD.INF", c.buildInf);
    const Outcome o = Run({"-b", "-r"});  // -b wins: no resume is tried
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.transcript.size(), 1u);
    EXPECT_TRUE(o.Has("message", c.message));
    EXPECT_EQ(o.Count("error"), 0);
    EXPECT_EQ(o.Count("form"), 0);  // the program ended without showing its form
  }
}

}  // namespace
