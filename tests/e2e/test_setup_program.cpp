// The `setup` program run as a child process on a fresh simulated machine:
// its exit code, its transcript and error output, and what it left in the
// machine's registry, for the start-up modes the command line selects.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "SetupChild.h"
#include "platform/Registry.h"
#include "platform/sim/SimMachine.h"
#include "support/SimMachineHome.h"

namespace {

using e2e::Outcome;
using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

class SetupProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    auto machine = home_.Create();
    // The running program's file, so the bookkeeping lookup can recognise it.
    machine->files().CreateDirectories("C:\\SETUP");
    auto f = machine->files().Create("C:\\SETUP\\SETUP.EXE");
    f->Write("MZ setup", 8);
    f->Close();
  }
  std::string Machine() const { return home_.MachineDir(); }

  void PutMachineFile(const std::string& path, const std::string& bytes) {
    auto machine = home_.Open();
    auto f = machine->files().Create(path);
    f->Write(bytes.data(), bytes.size());
    f->Close();
  }

  Outcome Run(const std::vector<std::string>& args,
              const std::map<std::string, std::string>& env = {}) {
    return e2e::RunSetup(PELLMORE_SETUP_EXE, Machine(), args, dir_, env);
  }

  testsupport::SimMachineHome home_{"pellmore-e2e"};
  const fs::path dir_ = home_.Dir().Path();
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
  // The whole directory, blank included, is where the run looks for the
  // engine's archive (there is none there).
  for (const auto& args : {std::vector<std::string>{"-sC:\\My Build"},
                           std::vector<std::string>{"-d", "-sC:\\My Build"}}) {
    SCOPED_TRACE(args.size());
    const Outcome o = Run(args);
    EXPECT_EQ(o.code, 1) << o.Dump();
    EXPECT_THAT(o.errors, HasSubstr("Cannot open the compressed file C:\\My Build\\files.1"));
    EXPECT_THAT(o.errors, Not(HasSubstr("Invalid parameter")));
  }
}

TEST_F(SetupProgram, BuildSwitchShowsItsErrorInAMessageBoxAndEnds) {
  struct Case {
    const char* what;
    const char* buildInf;  // null: none
    const char* message;
    int forms;  // the copy window, shown while the program itself is packed
  };
  const Case cases[] = {
      {"no BUILD.INF", nullptr,
       "Need to have a BUILD.INF file in this directory with the first line specifying the build "
       "directory",
       0},
      {"empty BUILD.INF", "",
       "Must be 1 line in BUILD.INF. This line should specify the build directory", 0},
      // The program goes into setup.1; its presetup file is the kit's.
      {"a build directory on a machine without the kit", "C:\\Build\r\n",
       "Cannot open the file C:\\\\Pellmore\\\\QDSETUP.DLL", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.buildInf) PutMachineFile("C:\\SETUP\\BUILD.INF", c.buildInf);
    const Outcome o = Run({"-b", "-r"});  // -b wins: no resume is tried
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.transcript.size(), 1u + c.forms) << o.Dump();
    EXPECT_TRUE(o.Has("message", c.message));
    EXPECT_EQ(o.Count("error"), 0);
    EXPECT_EQ(o.Count("form"), c.forms);  // the program's own form never shown
  }
}

// Without a transcript (PELLMORE_UI_LOG unset) the error output is all a
// user of -b or -f sees: each message box must reach it.
TEST_F(SetupProgram, WithoutATranscriptMessageBoxesGoToStandardError) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    const char* buildInf;  // null: none
    const char* message;
  };
  const Case cases[] = {
      {"-b without BUILD.INF",
       {"-b"},
       nullptr,
       "Need to have a BUILD.INF file in this directory with the first line specifying the build "
       "directory"},
      {"-b with an empty BUILD.INF",
       {"-b"},
       "",
       "Must be 1 line in BUILD.INF. This line should specify the build directory"},
      {"-f without the self-extractor",
       {"-f"},
       nullptr,
       "Sorry... You can only transfer this installation to floppies through the "
       "self-extracting file. Usage example: setup.exe *TODISK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.buildInf) PutMachineFile("C:\\SETUP\\BUILD.INF", c.buildInf);
    std::string errors;
    const int code =
        e2e::RunChild(PELLMORE_SETUP_EXE, c.args, {{"PELLMORE_MACHINE", Machine()}}, dir_, &errors);
    EXPECT_EQ(code, 1);
    EXPECT_THAT(errors, HasSubstr(c.message));
    EXPECT_THAT(errors, HasSubstr("Quenby Database Engine 8.2.0"));  // the caption, first
  }
}

// UI scripts that are empty, marked or in UTF-16, as a user passes them to
// the setup: an empty one runs with the default answers and says so, a
// UTF-8 mark is no part of the first command, UTF-16 is refused by name.
TEST_F(SetupProgram, UiScriptsThatAreEmptyMarkedOrUtf16) {
  struct Case {
    const char* what;
    std::string script;
    int code;
    const char* error;  // in the error output
  };
  const Case cases[] = {
      {"empty", "", 1, "is empty: every form and message box gets its default answer"},
      {"UTF-8 mark",
       "\xEF\xBB\xBF"
       "form fmMain\n",
       1, nullptr},
      {"UTF-16",
       std::string("\xFF\xFE"
                   "f\0o\0r\0m\0",
                   10),
       1, ": UTF-16 is not supported: save the script as UTF-8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path script = dir_ / "setup.ui";
    std::ofstream(script, std::ios::binary) << c.script;
    const Outcome o = Run({}, {{"PELLMORE_UI_SCRIPT", script.string()}});
    EXPECT_EQ(o.code, c.code);
    EXPECT_THAT(o.errors, Not(HasSubstr("Cannot read the UI script")));
    EXPECT_THAT(o.errors, Not(HasSubstr("unknown command")));
    if (c.error) {
      EXPECT_THAT(o.errors, HasSubstr(c.error));
    }
  }
}

}  // namespace
